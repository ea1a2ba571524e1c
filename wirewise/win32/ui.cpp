#include "win32/ui.h"

#include <string>

#include "seams/codepage.h"

namespace ww {

int Win32Ui::MessageBox(std::string_view text, uint32_t style) {
    const std::string ansi = ToAnsi(text);
    const std::string title = ToAnsi("Corvane Wirewise");
    // The arrow at once, also where the mouse does not move; the pointer from before (the
    // hourglass of a run that goes on) comes back with the answer.
    const HCURSOR before = SetCursor(LoadCursor(nullptr, IDC_ARROW));
    ++asking_;
    const int answer = MessageBoxA(owner_, ansi.c_str(), title.c_str(), style);
    --asking_;
    if (before) SetCursor(before);
    return answer;
}

void Win32Ui::SetWaitCursor(bool on) {
    waitDepth_ += on ? 1 : -1;
    if (waitDepth_ < 0) waitDepth_ = 0;
    SetCursor(LoadCursor(nullptr, Waiting() ? IDC_WAIT : IDC_ARROW));
}

} // namespace ww
