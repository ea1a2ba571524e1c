#include "window/step_guard.h"

#include <new>
#include <stdexcept>
#include <system_error>

#include "platform/registry_values.h"

namespace ww {

int FailureNumber(std::exception_ptr failure) noexcept {
    try {
        std::rethrow_exception(failure);
    } catch (const std::system_error& e) {
        return e.code().value();
    } catch (const std::bad_alloc&) {
        return 7;
    } catch (const std::out_of_range&) {
        return 9;
    } catch (const RegConversionError&) {
        return 13;
    } catch (...) {
        return 5;
    }
}

} // namespace ww
