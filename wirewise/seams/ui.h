#pragma once
// Modal message boxes and the screen-wide wait pointer.
#include <cstdint>
#include <string_view>

#include "common/message_box.h"

// <windows.h> renames MessageBox to MessageBoxA; the seam keeps its own name in every file.
#ifdef MessageBox
#undef MessageBox
#endif

namespace ww {

// MessageBoxA styles and answers, by their Win32 numbers.
using corvane::kIdNo;
using corvane::kIdOk;
using corvane::kIdYes;
using corvane::kMbDefButton2;
using corvane::kMbIconAsterisk;
using corvane::kMbIconExclamation;
using corvane::kMbIconHand;
using corvane::kMbIconQuestion;
using corvane::kMbOk;
using corvane::kMbYesNo;

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
