#pragma once
// Modal message boxes and the screen-wide wait pointer.
#include <cstdint>
#include <string_view>

// <windows.h> renames MessageBox to MessageBoxA; the seam keeps its own name in every file.
#ifdef MessageBox
#undef MessageBox
#endif

namespace ww {

// MessageBoxA styles and answers, by their Win32 numbers.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbIconHand = 0x10;
inline constexpr uint32_t kMbIconQuestion = 0x20;
inline constexpr uint32_t kMbIconExclamation = 0x30;
inline constexpr uint32_t kMbIconAsterisk = 0x40;
inline constexpr uint32_t kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class Ui {
  public:
    virtual ~Ui() = default;
    // Shows text under the program's title ("Corvane Wirewise") and returns the button pressed.
    virtual int MessageBox(std::string_view text, uint32_t style) = 0;
    // The hourglass as the screen-wide pointer while on is true.
    virtual void SetWaitCursor(bool on) = 0;
};

// Shows the hourglass for the lifetime of the object.
class WaitCursor {
  public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ui_.SetWaitCursor(false); }

  private:
    Ui& ui_;
};

} // namespace ww
