#include "win32/login_window.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace {

// The embedded browser needs OLE on this thread for the program's whole life.
class OleSession {
  public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (ok_) OleUninitialize();
    }

  private:
    bool ok_;
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const OleSession ole;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    return gk::win32::RunLoginWindow(instance, show);
}
