#include "win32/ui.h"

#include <string>

#include "seams/codepage.h"

namespace ww {

int Win32Ui::MessageBox(std::string_view text, uint32_t style) {
    const std::string ansi = ToAnsi(text);
    const std::string title = ToAnsi("Corvane Wirewise");
    return MessageBoxA(owner_, ansi.c_str(), title.c_str(), style);
}

void Win32Ui::SetWaitCursor(bool on) {
    waitDepth_ += on ? 1 : -1;
    if (waitDepth_ < 0) waitDepth_ = 0;
    SetCursor(LoadCursor(nullptr, Waiting() ? IDC_WAIT : IDC_ARROW));
}

} // namespace ww
