#pragma once
// Start-up runs every step under a guard: a failed step is logged as "Error <number>" and the
// next step runs all the same.
#include <exception>
#include <string>

#include "app.h"
#include "platform/log.h"

namespace ww {

// The number that stands for a failure: a system error's or NumberedError's own number, else the
// conventional runtime error number of that kind of failure (6 overflow, 7 out of memory, 9 index
// out of range, 13 type mismatch, 5 any other).
int FailureNumber(std::exception_ptr failure) noexcept;

template <class Step> void GuardedStep(App& app, Step&& step) noexcept {
    try {
        step();
    } catch (...) {
        const int number = FailureNumber(std::current_exception());
        try {
            WriteLog(app, "Error " + std::to_string(number));
        } catch (...) {
            // Nothing is left to report with; start-up goes on.
        }
    }
}

} // namespace ww
