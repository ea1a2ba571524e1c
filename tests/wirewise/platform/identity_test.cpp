#include "platform/identity.h"

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

TEST(LookupSidString, WritesEveryPartOfTheSid) {
    struct Case {
        const char* name;
        std::vector<uint8_t> sid;
        std::string text;
    } cases[] = {
        {"local user", FakeSystem::MakeSid(1, 5, {21, 1004336348, 1177238915, 682003330, 1003}),
         "S-1-5-21-1004336348-1177238915-682003330-1003"},
        {"sub-authorities from 2^31", FakeSystem::MakeSid(1, 5, {21, 0x80000000u, 0xFFFFFFFFu}),
         "S-1-5-21-2147483648-4294967295"},
        {"well-known, no sub-authority", FakeSystem::MakeSid(1, 1, {}), "S-1-1"},
        {"authority above 255", FakeSystem::MakeSid(1, 0x1234, {7}), "S-1-4660-7"},
        {"largest decimal authority", FakeSystem::MakeSid(1, 0xFFFFFFFFull, {}), "S-1-4294967295"},
        {"authority from 2^32", FakeSystem::MakeSid(1, 0x100000000ull, {1}),
         "S-1-0x000100000000-1"},
        {"all six authority bytes", FakeSystem::MakeSid(1, 0xABCDEF012345ull, {}),
         "S-1-0xABCDEF012345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.sys.accounts["BOB"] = FakeSystem::Account{c.sid, "PC1", 1};
        EXPECT_EQ(LookupSidString(t.app, "PC1", "bob"), c.text);
    }
}

TEST(LookupSidString, AnAccountNotFoundGivesTheAllZeroSid) {
    TestApp t;
    EXPECT_EQ(LookupSidString(t.app, "PC1", "nobody"), "S-0-0");
}

TEST(LookupSidString, ASubAuthorityCountBeyondTheBufferStopsAtItsEnd) {
    TestApp t;
    std::vector<uint8_t> sid = FakeSystem::MakeSid(1, 5, std::vector<uint32_t>(126, 1));
    sid[1] = 255; // claims more sub-authorities than the 513-byte buffer holds
    t.sys.accounts["BOB"] = FakeSystem::Account{sid, "PC1", 1};
    std::string want = "S-1-5";
    for (int i = 0; i < 126; ++i)
        want += "-1";
    EXPECT_EQ(LookupSidString(t.app, "PC1", "bob"), want);
}

TEST(LookupSidString, AsksTheDomainControllerOfTheMachinesNameWhenOneAnswers) {
    for (const bool dc : {false, true}) {
        TestApp t;
        if (dc) t.sys.domainControllers["PC1"] = "\\\\DC01";
        LookupSidString(t.app, "PC1", "alice");
        EXPECT_EQ(t.sys.dcQueries, (std::vector<std::pair<std::string, std::string>>{{"", "PC1"}}));
        EXPECT_EQ(t.sys.lookupSystems, std::vector<std::string>{dc ? "\\\\DC01" : ""});
    }
}

TEST(GetUserSid, LooksUpTheProgramsUserOnThisMachine) {
    TestApp t;
    t.app.UserName = "Alice";
    EXPECT_EQ(GetUserSid(t.app), "S-1-5-21-1004336348-1177238915-682003330-1003");
    EXPECT_EQ(t.sys.dcQueries.at(0).second, "PC1");
}

TEST(GetDomainController, GivesTheNameWithItsBackslashesOrNothing) {
    TestApp t;
    t.sys.domainControllers["CORP"] = "\\\\DC01";
    EXPECT_EQ(GetDomainController(t.app, "", "corp"), "\\\\DC01");
    EXPECT_EQ(GetDomainController(t.app, "", "other"), "");
}

TEST(GetLoggedUser, GivesNamesThatFitTheBuffer) {
    struct Case {
        std::optional<std::string> name;
        std::string want;
    } cases[] = {
        {std::string("alice"), "alice"},
        {std::string(24, 'u'), std::string(24, 'u')},
        {std::string(25, 'u'), ""},
        {std::nullopt, ""},
        {std::string("J\xF6rg"), "J\xC3\xB6rg"},
    };
    for (const Case& c : cases) {
        TestApp t;
        t.sys.userName = c.name;
        EXPECT_EQ(GetLoggedUser(t.app), c.want);
    }
}

TEST(GetMachineName, GivesTheWholeNameOrNothing) {
    struct Case {
        std::optional<std::string> name;
        std::string want;
    } cases[] = {
        {std::string("PC1"), "PC1"},
        {std::string("ABCDEFGHIJKLMNO"), "ABCDEFGHIJKLMNO"},
        {std::string("ABCDEFGHIJKLMNOP"), ""},
        {std::nullopt, ""},
    };
    for (const Case& c : cases) {
        TestApp t;
        t.sys.computerName = c.name;
        EXPECT_EQ(GetMachineName(t.app), c.want);
    }
}

} // namespace
} // namespace ww::test
