#include "platform/windows_version.h"

#include <array>

#include "platform/log.h"
#include "seams/system.h"

namespace ww {
namespace {

// dwPlatformId of the version query.
constexpr uint32_t kVerPlatformWin32s = 0;
constexpr uint32_t kVerPlatformWin32Windows = 1;
constexpr uint32_t kVerPlatformWin32Nt = 2;
constexpr uint32_t kAnyPlatform = 0xFFFFFFFF;
constexpr uint32_t kAnyBuild = 0;

struct OsRow {
    uint32_t platform;
    uint32_t build;
    const char* line;
    OsFamily family;
};

// First matching row wins; the last one takes every other platform.
constexpr std::array<OsRow, 7> kOsRows{{
    {kVerPlatformWin32s, kAnyBuild, "OS = Win32", OsFamily::Win32s},
    {kVerPlatformWin32Windows, kAnyBuild, "OS = Win98", OsFamily::Win9x},
    {kVerPlatformWin32Nt, 1381, "OS = WinNT", OsFamily::Nt4},
    {kVerPlatformWin32Nt, 2195, "OS = Win2K", OsFamily::Win2000},
    {kVerPlatformWin32Nt, 2600, "OS = WinXP", OsFamily::WinXp},
    {kVerPlatformWin32Nt, kAnyBuild, "OS = Unknown", OsFamily::Other},
    {kAnyPlatform, kAnyBuild, "OS = Other", OsFamily::Other},
}};

// The row of a version; the last row takes every other platform.
const OsRow& Classify(const OsVersionInfo& info) {
    for (const OsRow& row : kOsRows) {
        const bool platformMatches =
            row.platform == kAnyPlatform || row.platform == info.dwPlatformId;
        const bool buildMatches = row.build == kAnyBuild || row.build == info.dwBuildNumber;
        if (platformMatches && buildMatches) return row;
    }
    return kOsRows.back();
}

} // namespace

OsFamily DetectOS(App& app) {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    if (!app.sys->GetVersionExA(&info)) return OsFamily::Win32s;
    const OsRow& given = Classify(info);
    WriteLog(app, given.line);
    // A compatibility setting (Windows 98, say) makes the version call name another Windows and
    // would send the program down that Windows' road on this one; the road follows what the
    // system really is. Builds that the rows do not tell apart (a later Windows that the call
    // reports as 6.2 to programs without its manifest entry) are no disagreement.
    OsVersionInfo real;
    real.dwOSVersionInfoSize = 148;
    if (app.sys->RtlGetVersion(&real) && &Classify(real) != &given) {
        WriteLog(app, "Compatibility mode: Windows NT " + std::to_string(real.dwMajorVersion) +
                          "." + std::to_string(real.dwMinorVersion) + " build " +
                          std::to_string(real.dwBuildNumber));
        info = real;
    }
    app.NtPlatform = info.dwPlatformId == kVerPlatformWin32Nt;
    return Classify(info).family;
}

} // namespace ww
