#pragma once
#include <string>

namespace ww {

// The window's adapter drop-down box, as the adapter list fills it.
class AdapterBox {
  public:
    virtual void AddItem(const std::string& text) = 0;
    // Selects a row (0-based) as the program would; the window's click handler runs.
    virtual void SetListIndex(int row) = 0;

  protected:
    ~AdapterBox() = default;
};

} // namespace ww
