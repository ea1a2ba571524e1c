// The message-pump step of long registry walks, the tick count that paces it, and the wait
// between two tries of a call.
#include <windows.h>

#include "win32/system.h"

namespace ww {

void Win32System::DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The message loop ends the program; leave the request for it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

uint32_t Win32System::GetTickCount() {
    return ::GetTickCount();
}

void Win32System::Sleep(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace ww
