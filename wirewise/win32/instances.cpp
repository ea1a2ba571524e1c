#include "win32/instances.h"

#include "win32/form1_window.h"

namespace ww {
namespace {

// No "Local\" or "Global\": Windows 9x and NT 4 without Terminal Server take no backslash in
// the name. Where sessions exist the plain name is the session's own, so that each user who
// is logged on may run a copy.
constexpr char kMarkName[] = "CorvaneWirewiseOneCopy";

} // namespace

bool Win32Instances::ClaimOnlyCopy() {
    mark_ = corvane::KernelObject(CreateMutexA(nullptr, FALSE, kMarkName));
    const DWORD error = GetLastError();
    // The mark of a copy that runs with other rights cannot be opened at all.
    if (!mark_) return error != ERROR_ACCESS_DENIED;
    return error != ERROR_ALREADY_EXISTS;
}

void Win32Instances::ShowRunningCopy() {
    const HWND window = FindWindowA(kFormClassName, nullptr);
    if (!window) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // The box the copy waits in, where it shows one; else the window itself.
    SetForegroundWindow(GetLastActivePopup(window));
}

} // namespace ww
