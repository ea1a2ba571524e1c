#include "win32/handles.h"
#include "win32/login_window.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// The common controls of version 4.70 and later take the classes they should register (those
// before 6 know no flag for the standard classes and may refuse it); a bare NT 4 has only the
// older call, which registers them all.
void InitCommonControlClasses() {
    using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initEx =
        gk::win32::ProcAddress<InitExFn>(GetModuleHandleA("comctl32.dll"), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (initEx && initEx(&controls)) return;
    controls.dwICC = ICC_WIN95_CLASSES;
    if (initEx && initEx(&controls)) return;
    InitCommonControls();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // The embedded browser needs OLE on this thread for the program's whole life.
    const gk::win32::OleSession ole;
    InitCommonControlClasses();
    return gk::win32::RunLoginWindow(instance, show);
}
