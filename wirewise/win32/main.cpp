// wirewise's entry: wires the program-wide state to the Win32 seams and runs the setup window.
#include <windows.h>

#include <commctrl.h>

#include "app.h"
#include "common/win32/common_controls.h"
#include "common/win32/system_library.h"
#include "win32/clock.h"
#include "win32/files.h"
#include "win32/form1_window.h"
#include "win32/instances.h"
#include "win32/iphelper.h"
#include "win32/registry.h"
#include "win32/system.h"
#include "win32/ui.h"
#include "win32/wmi.h"
#include "window/one_copy.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Later loads by bare name look in the system folder only: the program runs with
    // administrator rights.
    corvane::KeepLaterLoadsInTheSystemFolder();
    corvane::InitCommonControlClasses(ICC_WIN95_CLASSES);

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
