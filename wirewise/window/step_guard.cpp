#include "window/step_guard.h"

#include "platform/internal_error.h"

namespace ww {

int FailureNumber(std::exception_ptr failure) noexcept {
    // The one place the two kinds of catcher differ: a start-up step that failed in a way of its
    // own is numbered as a failed call, where a procedure's own unexpected failure is an internal
    // error (51).
    return KindOf(failure, {kErrInvalidCall, ""}).number;
}

} // namespace ww
