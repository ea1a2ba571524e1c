#pragma once
// A failure that ends the settings pass: raised by the steps the pass calls, caught only by the
// pass itself, which then shows its error box.
#include <stdexcept>
#include <string>

namespace ww {

class EngineFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace ww
