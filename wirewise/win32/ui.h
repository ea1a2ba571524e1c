#pragma once
#include <windows.h>

#include "seams/ui.h"

namespace ww {

class Win32Ui final : public Ui {
  public:
    // The window the message boxes belong to, once it exists; they block it while shown.
    void SetOwner(HWND owner) { owner_ = owner; }
    int MessageBox(std::string_view text, uint32_t style) override;
    void SetWaitCursor(bool on) override;
    // True while the hourglass is the screen-wide pointer; windows keep it over themselves.
    bool Waiting() const { return waitDepth_ > 0; }
    // True while a message box waits for an answer: the program waits for the user, not the
    // other way round, so its windows show the normal pointer.
    bool Asking() const { return asking_ > 0; }

  private:
    HWND owner_ = nullptr;
    int waitDepth_ = 0;
    int asking_ = 0;
};

} // namespace ww
