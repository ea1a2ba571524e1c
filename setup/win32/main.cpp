// wirewise's entry: wires the program-wide state to the Win32 seams and runs the setup window.
#include <windows.h>

#include <commctrl.h>

#include "app.h"
#include "win32/clock.h"
#include "win32/files.h"
#include "win32/form1_window.h"
#include "win32/instances.h"
#include "win32/iphelper.h"
#include "win32/registry.h"
#include "win32/system.h"
#include "win32/system_library.h"
#include "win32/ui.h"
#include "win32/wmi.h"
#include "window/one_copy.h"

namespace {

// Libraries that Windows and its components load later by bare name are looked for in the system
// folder only, never in the program's folder or the current one, where a planted file would run
// with the program's administrator rights. Windows 8 (7 with its loader update) takes the first
// call, XP SP1 and later the second; older systems know neither and keep their search order.
void KeepLaterLoadsInTheSystemFolder() {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (const auto setDefaultDirs =
            ww::ProcAddress<SetDefaultDirsFn>(kernel, "SetDefaultDllDirectories"))
        setDefaultDirs(kSearchSystem32);
    if (const auto setDllDirectory = ww::ProcAddress<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDllDirectory("");
}

// The common controls of version 4.70 and later take the classes they should register; a bare
// NT 4 has only the older call, which registers them all.
void InitCommonControlClasses() {
    using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initEx =
        ww::ProcAddress<InitExFn>(GetModuleHandleA("comctl32.dll"), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    if (!initEx || !initEx(&icc)) InitCommonControls();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    KeepLaterLoadsInTheSystemFolder();
    InitCommonControlClasses();

    // One object per seam, alive for the whole run; each module reaches them through app.
    ww::Win32Ui ui;
    // Before anything is logged: a second copy ends without writing a line.
    ww::Win32Instances instances;
    if (!ww::StartAsOnlyCopy(instances, ui)) return 0;
    ww::Win32Files files;
    ww::Win32Clock clock;
    ww::Win32Registry registry;
    ww::Win32System system;
    ww::Win32Wmi wmi;
    ww::Win32IpHelper iphlp;

    ww::App app;
    app.files = &files;
    app.ui = &ui;
    app.clock = &clock;
    app.reg = &registry;
    app.sys = &system;
    app.wmi = &wmi;
    app.iphlp = &iphlp;

    ww::Form1Window window(app, ui, instance);
    return window.Run(showCommand);
}
