#include "platform/desktop_user.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;

const std::vector<uint8_t> kBobSid =
    FakeSystem::MakeSid(1, 5, {21, 1004336348, 1177238915, 682003330, 1004});
const std::string kBob = "S-1-5-21-1004336348-1177238915-682003330-1004";

// A desktop whose shell belongs to PC1\bob.
void BobsDesktop(FakeSystem& sys) {
    sys.shellWindow = 0x10010;
    sys.shellTokenSid = kBobSid;
    sys.sidNames[kBobSid] = {"PC1", "bob"};
}

TEST(DesktopUser, SidStringsAsTheAccountsAreWritten) {
    const struct {
        std::vector<uint8_t> sid;
        size_t size; // bytes handed over; the SID's own size when 0
        std::optional<std::string> text;
    } cases[] = {
        {kBobSid, 0, kBob},
        {FakeSystem::MakeSid(1, 5, {18}), 0, "S-1-5-18"},
        {FakeSystem::MakeSid(1, 5, {21, 0x80000000u, 0xFFFFFFFFu}), 0,
         "S-1-5-21-2147483648-4294967295"},
        {FakeSystem::MakeSid(1, 0x10000000000ull, {1}), 0, "S-1-0x010000000000-1"},
        {FakeSystem::MakeSid(1, 0xFFFFFFFFull, {}), 0, "S-1-4294967295"},
        {kBobSid, kBobSid.size() - 1, std::nullopt}, // the last sub-authority cut off
        {kBobSid, 7, std::nullopt},                  // not even the header
    };
    for (const auto& c : cases) {
        const size_t size = c.size == 0 ? c.sid.size() : c.size;
        // A copy of exactly the bytes handed over, so that any read past them is caught.
        const std::vector<uint8_t> bytes(c.sid.begin(),
                                         c.sid.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(SidString(bytes.data(), bytes.size()), c.text) << c.text.value_or("(none)");
    }
}

TEST(DesktopUser, TheShellWindowsTokenNamesTheDesktopsOwner) {
    TestApp t;
    BobsDesktop(t.sys);
    const auto desktop = FindDesktopUser(t.app);
    ASSERT_TRUE(desktop);
    EXPECT_EQ(desktop->account, "PC1\\bob");
    EXPECT_EQ(desktop->sid, kBob);
    EXPECT_EQ(t.sys.processAccess, std::vector<uint32_t>{kProcessQueryInformation});
    EXPECT_EQ(t.sys.tokenAccess, kTokenQuery);
    EXPECT_EQ(t.sys.closedHandles,
              (std::vector<SysHandle>{FakeSystem::kShellToken, FakeSystem::kProcess}));
}

// Without a shell, or where any call fails, the desktop's owner stays unknown and every handle
// opened on the way is closed.
TEST(DesktopUser, AnyFailedStepLeavesItUnknown) {
    const struct {
        const char* what;
        std::function<void(FakeSystem&)> arrange;
        bool found;
        std::vector<SysHandle> closed;
    } cases[] = {
        {"no shell window (or none before 2000)",
         [](FakeSystem& s) { s.shellWindow = 0; },
         false,
         {}},
        {"the window's process unknown", [](FakeSystem& s) { s.shellProcessId = 0; }, false, {}},
        {"the process refused",
         [](FakeSystem& s) {
             s.refusedProcessAccess = {kProcessQueryInformation, kProcessQueryLimitedInformation};
         },
         false,
         {}},
        {"only the limited right granted (Vista and later)",
         [](FakeSystem& s) { s.refusedProcessAccess = {kProcessQueryInformation}; },
         true,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
        {"the token refused",
         [](FakeSystem& s) { s.shellTokenOk = false; },
         false,
         {FakeSystem::kProcess}},
        {"no token user",
         [](FakeSystem& s) { s.shellTokenSid.reset(); },
         false,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
        {"a SID pointer outside the record",
         [](FakeSystem& s) {
             s.tamperTokenUser = [](uint8_t* buffer, uint32_t) {
                 const uintptr_t elsewhere = 0x1000;
                 std::memcpy(buffer, &elsewhere, sizeof elsewhere);
             };
         },
         false,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
        {"a SID pointer into the record itself",
         [](FakeSystem& s) {
             s.tamperTokenUser = [](uint8_t* buffer, uint32_t) {
                 const uintptr_t self = reinterpret_cast<uintptr_t>(buffer);
                 std::memcpy(buffer, &self, sizeof self);
             };
         },
         false,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
        {"a SID with more sub-authorities than were filled",
         [](FakeSystem& s) {
             s.tamperTokenUser = [](uint8_t* buffer, uint32_t) {
                 buffer[2 * sizeof(void*) + 1] = 200;
             };
         },
         false,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
        {"a SID without a name",
         [](FakeSystem& s) { s.sidNames.clear(); },
         false,
         {FakeSystem::kShellToken, FakeSystem::kProcess}},
    };
    for (const auto& c : cases) {
        TestApp t;
        BobsDesktop(t.sys);
        c.arrange(t.sys);
        EXPECT_EQ(FindDesktopUser(t.app).has_value(), c.found) << c.what;
        EXPECT_EQ(t.sys.closedHandles, c.closed) << c.what;
    }
}

TEST(DesktopUser, OnlyAnotherAccountsDesktopChangesTheHive) {
    const struct {
        const char* what;
        std::string accountSid;
        bool shell;
        std::string desktopSid;
        Lines log;
    } cases[] = {
        {"elevated by another account", "S-1-5-21-1004336348-1177238915-682003330-500", true, kBob,
         Lines{"Desktop user = PC1\\bob " + kBob}},
        {"the account's own desktop", kBob, true, "", {}},
        {"the same SID in another case",
         "s-1-5-21-1004336348-1177238915-682003330-1004",
         true,
         "",
         {}},
        {"the account not found (S-0-0)", "S-0-0", true, kBob,
         Lines{"Desktop user = PC1\\bob " + kBob}},
        {"no shell", "S-1-5-21-1-2-3-500", false, "", {}},
    };
    for (const auto& c : cases) {
        TestApp t;
        BobsDesktop(t.sys);
        if (!c.shell) t.sys.shellWindow = 0;
        t.app.UserSid = c.accountSid;
        NoteDesktopUser(t.app);
        EXPECT_EQ(t.app.DesktopSid, c.desktopSid) << c.what;
        EXPECT_EQ(t.LogLines(), c.log) << c.what;
        EXPECT_EQ(t.app.UserSid, c.accountSid) << c.what;
    }
}

} // namespace
} // namespace ww::test
