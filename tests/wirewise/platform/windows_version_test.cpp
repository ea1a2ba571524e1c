#include "platform/windows_version.h"

#include <gtest/gtest.h>

#include <optional>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

TEST(DetectOS, ClassifiesEveryFamilyAndLogsIt) {
    struct Case {
        uint32_t platform, build;
        const char* line;
        OsFamily code;
    } cases[] = {
        {0, 0, "OS = Win32", OsFamily::Win32s},     {1, 67766446, "OS = Win98", OsFamily::Win9x},
        {1, 3000, "OS = Win98", OsFamily::Win9x},   {2, 1381, "OS = WinNT", OsFamily::Nt4},
        {2, 2195, "OS = Win2K", OsFamily::Win2000}, {2, 2600, "OS = WinXP", OsFamily::WinXp},
        {2, 3790, "OS = Unknown", OsFamily::Other}, {2, 7601, "OS = Unknown", OsFamily::Other},
        {3, 2600, "OS = Other", OsFamily::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TestApp t;
        t.sys.version.dwPlatformId = c.platform;
        t.sys.version.dwBuildNumber = c.build;
        EXPECT_EQ(DetectOS(t.app), c.code);
        EXPECT_EQ(t.LogLines(), std::vector<std::string>{c.line});
    }
}

// Run with a compatibility setting, the version call names another Windows; the road follows
// the real one and the log says so after the unchanged OS line. Versions the rows do not tell
// apart are no disagreement.
TEST(DetectOS, TheRealVersionDecidesBehindACompatibilitySetting) {
    using Lines = std::vector<std::string>;
    const OsVersionInfo win98{148, 4, 10, 67766446, 1}, xp{148, 5, 1, 2600, 2},
        win2k{148, 5, 0, 2195, 2}, win10{148, 10, 0, 19045, 2}, win8{148, 6, 2, 9200, 2};
    const struct {
        const char* what;
        OsVersionInfo given;
        std::optional<OsVersionInfo> real;
        Lines lines;
        OsFamily code;
        Road road;
    } cases[] = {
        {"Windows 98 setting on Windows 10",
         win98,
         win10,
         {"OS = Win98", "Compatibility mode: Windows NT 10.0 build 19045"},
         OsFamily::Other,
         Road::Nt},
        {"Windows 98 setting on XP",
         win98,
         xp,
         {"OS = Win98", "Compatibility mode: Windows NT 5.1 build 2600"},
         OsFamily::WinXp,
         Road::Nt},
        {"Windows 2000 setting on XP",
         win2k,
         xp,
         {"OS = Win2K", "Compatibility mode: Windows NT 5.1 build 2600"},
         OsFamily::WinXp,
         Road::Nt},
        {"XP setting on Windows 10",
         xp,
         win10,
         {"OS = WinXP", "Compatibility mode: Windows NT 10.0 build 19045"},
         OsFamily::Other,
         Road::Nt},
        {"Windows 10 seen as 6.2 without the manifest's entry",
         win8,
         win10,
         {"OS = Unknown"},
         OsFamily::Other,
         Road::Nt},
        {"the two agree", xp, xp, {"OS = WinXP"}, OsFamily::WinXp, Road::Nt},
        {"no RtlGetVersion (NT 4)",
         {148, 4, 0, 1381, 2},
         std::nullopt,
         {"OS = WinNT"},
         OsFamily::Nt4,
         Road::Nt},
        {"no RtlGetVersion (Windows 98)",
         win98,
         std::nullopt,
         {"OS = Win98"},
         OsFamily::Win9x,
         Road::Win9x},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestApp t;
        t.sys.version = c.given;
        t.sys.realVersion = c.real;
        t.app.OsCode = DetectOS(t.app);
        EXPECT_EQ(t.app.OsCode, c.code);
        EXPECT_EQ(RoadOf(t.app), c.road);
        EXPECT_EQ(t.LogLines(), c.lines);
    }
}

TEST(DetectOS, AFailedVersionCallGivesWin32sAndNoLine) {
    TestApp t;
    t.sys.versionOk = false;
    t.sys.realVersion = OsVersionInfo{148, 10, 0, 19045, 2};
    EXPECT_EQ(DetectOS(t.app), OsFamily::Win32s);
    EXPECT_TRUE(t.LogLines().empty());
}

} // namespace
} // namespace ww::test
