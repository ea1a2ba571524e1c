#include "platform/internal_error.h"

#include <new>
#include <system_error>

#include "platform/registry_values.h"

namespace ww {

FailureKind KindOf(const std::exception_ptr& failure, FailureKind otherwise) noexcept {
    try {
        std::rethrow_exception(failure);
    } catch (const std::system_error& e) {
        return {e.code().value(), e.what()};
    } catch (const NumberedError& e) {
        return {e.number(), e.what()};
    } catch (const std::bad_alloc&) {
        return {kErrOutOfMemory, "Out of memory"};
    } catch (const RegConversionError&) {
        return {kErrTypeMismatch, "Type mismatch"};
    } catch (const std::overflow_error&) {
        return {kErrOverflow, "Overflow"};
    } catch (const std::out_of_range&) {
        // An index or position past the end (at, substr); a number too large for its type is an
        // overflow_error or a NumberedError of its own.
        return {kErrSubscript, "Subscript out of range"};
    } catch (...) {
        return otherwise;
    }
}

InternalError CurrentInternalError() {
    const std::exception_ptr failure = std::current_exception();
    const FailureKind kind = KindOf(failure, {kErrInternal, "Internal error"});
    return {kind.number, kind.description};
}

} // namespace ww
