#include "win32/handles.h"
#include "win32/login_window.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// Libraries that Windows and its components load later by bare name (the browser control brings
// many) are looked for in the system folder only, never in the program's folder or the current
// one, where a planted file would run inside the program. Windows 8 (7 with its loader update)
// takes the first call, XP SP1 and later the second; older systems keep their search order.
void KeepLaterLoadsInTheSystemFolder() {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (const auto setDefaultDirs =
            gk::win32::ProcAddress<SetDefaultDirsFn>(kernel, "SetDefaultDllDirectories"))
        setDefaultDirs(kSearchSystem32);
    if (const auto setDllDirectory =
            gk::win32::ProcAddress<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDllDirectory("");
}

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
    KeepLaterLoadsInTheSystemFolder();
    // The embedded browser needs OLE on this thread for the program's whole life.
    const gk::win32::OleSession ole;
    InitCommonControlClasses();
    return gk::win32::RunLoginWindow(instance, show);
}
