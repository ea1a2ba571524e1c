#include "window/step_guard.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <system_error>

#include "platform/internal_error.h"
#include "platform/registry_values.h"

namespace ww::test {
namespace {

TEST(StepGuard, FailureNumbers) {
    struct Case {
        const char* name;
        std::exception_ptr failure;
        int number;
    };
    for (const Case& c : {
             Case{"system error",
                  std::make_exception_ptr(std::system_error(1813, std::system_category())), 1813},
             Case{"out of memory", std::make_exception_ptr(std::bad_alloc()), 7},
             Case{"index", std::make_exception_ptr(std::out_of_range("row")), 9},
             Case{"conversion", std::make_exception_ptr(RegConversionError{"x"}), 13},
             Case{"other", std::make_exception_ptr(std::runtime_error("x")), 5},
             Case{"not an exception class", std::make_exception_ptr(42), 5},
             Case{"own number", std::make_exception_ptr(NumberedError(kErrOverflow, "Overflow")),
                  6},
             Case{"overflow", std::make_exception_ptr(std::overflow_error("x")), 6},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureNumber(c.failure), c.number);
    }
}

// A failure of a known kind has one number, whether a start-up step or a procedure catches it;
// only a failure of no known kind differs (5 there, 51 Internal error here).
TEST(StepGuard, ProceduresNumberFailuresAlike) {
    struct Case {
        std::exception_ptr failure;
        InternalError error;
    };
    for (const Case& c : {
             Case{std::make_exception_ptr(std::bad_alloc()), {7, "Out of memory"}},
             Case{std::make_exception_ptr(std::out_of_range("row")), {9, "Subscript out of range"}},
             Case{std::make_exception_ptr(RegConversionError{"x"}), {13, "Type mismatch"}},
             Case{std::make_exception_ptr(std::overflow_error("x")), {6, "Overflow"}},
             Case{std::make_exception_ptr(NumberedError(6, "Overflow")), {6, "Overflow"}},
             Case{std::make_exception_ptr(std::runtime_error("x")), {51, "Internal error"}},
         }) {
        InternalError got{};
        try {
            std::rethrow_exception(c.failure);
        } catch (...) {
            got = CurrentInternalError();
        }
        SCOPED_TRACE(c.error.description);
        EXPECT_EQ(got.number, c.error.number);
        EXPECT_EQ(got.description, c.error.description);
        if (c.error.number != kErrInternal) {
            EXPECT_EQ(FailureNumber(c.failure), c.error.number);
        }
    }
}

} // namespace
} // namespace ww::test
