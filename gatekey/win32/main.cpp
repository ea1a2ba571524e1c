#include "common/win32/common_controls.h"
#include "common/win32/owners.h"
#include "common/win32/system_library.h"
#include "win32/login_window.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // The browser control brings many libraries that it loads by bare name.
    corvane::KeepLaterLoadsInTheSystemFolder();
    // The embedded browser needs OLE on this thread for the program's whole life.
    const corvane::OleSession ole;
    corvane::InitCommonControlClasses(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);
    return gk::win32::RunLoginWindow(instance, show);
}
