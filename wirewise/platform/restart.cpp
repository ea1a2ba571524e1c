#include "platform/restart.h"

#include <array>

#include "common/text.h"
#include "platform/internal_error.h"
#include "platform/log.h"
#include "seams/codepage.h"
#include "seams/system.h"
#include "seams/ui.h"

namespace ww {
namespace {

constexpr char kRebootQuestion[] =
    "Setup has finished setting up your network. Your PC needs to be rebooted before the changes "
    "can be applied. Please save your work and close any other applications.\r\n\r\n"
    "Do you wish to reboot now?\r\n\r\n"
    "Select 'Yes' to reboot now. Select 'No' to reboot later.";
constexpr char kRebootFailed[] =
    "The application failed to reboot your system. Please reboot your system manually.";

// SHTDN_REASON_MAJOR_OTHER with SHTDN_REASON_MINOR_NETWORK_CONNECTIVITY, not planned.
constexpr uint32_t kRebootReason = 0x14;
constexpr uint32_t kMessageChars = 255;
// TOKEN_PRIVILEGES of one privilege in Win32 bytes; the previous state's length is preset for
// a record of none.
constexpr uint32_t kOnePrivilegeBytes = 16;
constexpr uint32_t kNoPrivilegeBytes = 4;

} // namespace

bool EnableShutdownPrivilege(App& app) {
    System& sys = *app.sys;
    SysHandleOwner token(sys);
    bool ok = token.OpenProcessToken(sys.GetCurrentProcess(), kTokenAdjustPrivileges | kTokenQuery);
    Luid luid;
    ok = sys.LookupPrivilegeValueA("", "SeShutdownPrivilege", &luid) && ok;
    TokenPrivileges enable;
    enable.PrivilegeCount = 1;
    enable.Privileges[0].luid = luid;
    enable.Privileges[0].Attributes = kSePrivilegeEnabled;
    TokenPrivileges previous;
    uint32_t returnLength = kNoPrivilegeBytes;
    ok = sys.AdjustTokenPrivileges(token.get(), false, enable, kOnePrivilegeBytes, &previous,
                                   &returnLength) &&
         ok;
    return ok;
}

void PromptReboot(App& app, const std::string& note) {
    try {
        if (app.ui->MessageBox(kRebootQuestion + note, kMbYesNo) != kIdYes) {
            WriteLog(app, "Reboot cancelled");
            return;
        }
        WriteLog(app, "Rebooting");
        app.Restarting = true;
        if (app.sys->ExitWindowsEx(kEwxReboot, kRebootReason)) return;
        app.Restarting = false;
        const uint32_t error = app.sys->GetLastError();
        WriteLog(app, "Reboot error: " + GetSystemErrorText(app, error));
        app.ui->MessageBox(kRebootFailed, kMbOk | kMbIconHand);
    } catch (...) {
        app.Restarting = false;
        WriteLog(app, "Error rebooting: " + std::to_string(CurrentInternalError().number));
        app.ui->MessageBox(kRebootFailed, kMbOk | kMbIconHand);
    }
}

std::string GetSystemErrorText(App& app, uint32_t code) {
    std::array<char, kMessageChars> buffer;
    buffer.fill(' ');
    if (app.sys->FormatMessageA(kFormatMessageFromSystem, code, 0, buffer.data(), kMessageChars) ==
        0)
        return "";
    return FromAnsi(corvane::Trim(corvane::UpToNul(buffer.data(), buffer.size())));
}

} // namespace ww
