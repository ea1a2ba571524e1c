#include "common/win32/common_controls.h"

#include <commctrl.h>

#include "common/win32/system_library.h"

namespace corvane {

void InitCommonControlClasses(DWORD classes) {
    using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initEx =
        ProcAddress<InitExFn>(GetModuleHandleA("comctl32.dll"), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof controls, classes};
    if (initEx && initEx(&controls)) return;
    if (classes != ICC_WIN95_CLASSES) {
        controls.dwICC = ICC_WIN95_CLASSES;
        if (initEx && initEx(&controls)) return;
    }
    InitCommonControls();
}

} // namespace corvane
