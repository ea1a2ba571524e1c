#include "platform/internal_error.h"

#include <exception>
#include <new>

#include "platform/registry_values.h"

namespace ww {

InternalError CurrentInternalError() {
    try {
        throw;
    } catch (const NumberedError& e) {
        return {e.number(), e.what()};
    } catch (const std::bad_alloc&) {
        return {kErrOutOfMemory, "Out of memory"};
    } catch (const RegConversionError&) {
        return {kErrTypeMismatch, "Type mismatch"};
    } catch (const std::overflow_error&) {
        return {kErrOverflow, "Overflow"};
    } catch (const std::out_of_range&) {
        return {kErrOverflow, "Overflow"};
    } catch (...) {
        return {kErrInternal, "Internal error"};
    }
}

} // namespace ww
