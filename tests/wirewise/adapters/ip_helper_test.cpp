#include "adapters/ip_helper.h"

#include <gtest/gtest.h>

#include <utility>

#include "fakes/wirewise/test_app.h"

namespace ww {
namespace {

using test::TestApp;

struct LibraryCase {
    IpFunction function;
    OsFamily os;
    const char* library;
};

TEST(IpHelperBinding, LibraryFollowsFunctionAndFamily) {
    const LibraryCase cases[] = {
        {IpFunction::GetAdaptersInfo, OsFamily::Win32s, "iphlpapi_9x"},
        {IpFunction::GetAdaptersInfo, OsFamily::Win9x, "iphlpapi_9x"},
        {IpFunction::GetAdaptersInfo, OsFamily::Nt4, "iphlpapi_9x"},
        {IpFunction::GetAdaptersInfo, OsFamily::Win2000, "iphlpapi_2k"},
        {IpFunction::GetAdaptersInfo, OsFamily::WinXp, "iphlpapi_xp"},
        {IpFunction::GetAdaptersInfo, OsFamily::Other, "iphlpapi_9x"},
        {IpFunction::GetNetworkParams, OsFamily::Win2000, "iphlpapi_2k"},
        {IpFunction::GetNetworkParams, OsFamily::WinXp, "iphlpapi_xp"},
        {IpFunction::GetNetworkParams, OsFamily::Win9x, "iphlpapi_9x"},
        {IpFunction::GetInterfaceInfo, OsFamily::Win2000, "iphlpapi_9x"},
        {IpFunction::GetInterfaceInfo, OsFamily::WinXp, "iphlpapi_9x"},
        {IpFunction::IpReleaseAddress, OsFamily::Win2000, "iphlpapi_9x"},
        {IpFunction::IpReleaseAddress, OsFamily::WinXp, "iphlpapi_9x"},
        {IpFunction::IpRenewAddress, OsFamily::WinXp, "iphlpapi_9x"},
        {IpFunction::IpRenewAddress, OsFamily::Win9x, "iphlpapi_9x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IpHelperLibrary(c.function, c.os), c.library)
            << static_cast<int>(c.function) << " on " << c.os;
}

TEST(IpHelperBinding, LoadsByFullPathAndBindsOnceAtFirstCall) {
    TestApp t;
    t.app.OsCode = OsFamily::WinXp;
    uint32_t size = 0;
    EXPECT_EQ(iphlp::GetAdaptersInfo(t.app, nullptr, &size), 232u); // no adapters
    EXPECT_EQ(iphlp::GetAdaptersInfo(t.app, nullptr, &size), 232u);
    EXPECT_EQ(t.iphlp.calls, (std::vector<std::string>{"load C:\\Tools\\iphlpapi_xp.dll",
                                                       "bind iphlpapi_xp!GetAdaptersInfo",
                                                       "iphlpapi_xp!GetAdaptersInfo",
                                                       "iphlpapi_xp!GetAdaptersInfo"}));
}

TEST(IpHelperBinding, FamilyIsLookedAtOnEveryCall) {
    TestApp t;
    uint32_t size = 0;
    t.app.OsCode = OsFamily::Win2000;
    iphlp::GetNetworkParams(t.app, nullptr, &size);
    t.app.OsCode = OsFamily::Win9x;
    iphlp::GetNetworkParams(t.app, nullptr, &size);
    iphlp::GetInterfaceInfo(t.app, nullptr, &size);
    EXPECT_EQ(t.iphlp.FunctionCalls(), (std::vector<std::string>{"iphlpapi_2k!GetNetworkParams",
                                                                 "iphlpapi_9x!GetNetworkParams",
                                                                 "iphlpapi_9x!GetInterfaceInfo"}));
}

TEST(IpHelperBinding, MissingFileOrFunctionIsAFailureTriedAgainNextTime) {
    TestApp t;
    t.app.OsCode = OsFamily::Win9x;
    t.iphlp.files.erase("C:\\Tools\\iphlpapi_9x.dll");
    t.iphlp.missing.insert("iphlpapi_xp!GetNetworkParams");
    uint8_t rec[260] = {};
    uint32_t size = 0;
    EXPECT_EQ(iphlp::GetAdaptersInfo(t.app, nullptr, &size), std::nullopt);
    EXPECT_EQ(iphlp::IpReleaseAddress(t.app, rec), std::nullopt);
    t.iphlp.files.insert("C:\\Tools\\iphlpapi_9x.dll");
    EXPECT_EQ(iphlp::IpReleaseAddress(t.app, rec), 0u);

    t.app.OsCode = OsFamily::WinXp;
    EXPECT_EQ(iphlp::GetNetworkParams(t.app, nullptr, &size), std::nullopt);
    EXPECT_EQ(iphlp::GetNetworkParams(t.app, nullptr, &size), std::nullopt);
    EXPECT_EQ(t.iphlp.FunctionCalls(), (std::vector<std::string>{"iphlpapi_9x!IpReleaseAddress"}));
}

// The log names each file that let a call down, once per run however often it is tried, and
// before the caller goes on; a file that serves every call is never named.
TEST(IpHelperBinding, AMissingFileOrFunctionNamesTheFileOnce) {
    TestApp t;
    t.app.OsCode = OsFamily::WinXp;
    t.iphlp.files.erase("C:\\Tools\\iphlpapi_9x.dll");
    t.iphlp.missing.insert("iphlpapi_xp!GetNetworkParams");
    uint8_t rec[260] = {};
    uint32_t size = 0;
    iphlp::GetAdaptersInfo(t.app, nullptr, &size);
    for (int i = 0; i < 2; ++i) {
        iphlp::IpReleaseAddress(t.app, rec);
        iphlp::IpRenewAddress(t.app, rec);
        iphlp::GetNetworkParams(t.app, nullptr, &size);
    }
    EXPECT_EQ(t.LogLines(),
              (std::vector<std::string>{"Missing iphlpapi_9x.dll", "Missing iphlpapi_xp.dll"}));

    TestApp noFolder;
    noFolder.files.programPath = "wirewise.exe";
    iphlp::GetInterfaceInfo(noFolder.app, nullptr, &size);
    EXPECT_EQ(noFolder.LogLines(), (std::vector<std::string>{"Missing iphlpapi_9x.dll"}));
}

// Windows loads no library from a full path of 260 characters or more (counted in UTF-16, so a
// Japanese folder name counts a character each): the log says so once, where "Missing" would
// send the user to look for a file that is there, the user is told how to get on, and nothing
// is loaded. One character less loads.
TEST(IpHelperBinding, APathTooLongToLoadFromIsNamedOnce) {
    const std::string japanese = "\xe6\x97\xa5"; // one UTF-16 unit, three bytes
    for (const auto& [nameLength, tooLong] : {std::pair{240, true}, std::pair{239, false}}) {
        SCOPED_TRACE(nameLength);
        // "C:\" (3) + the name (nameLength + 1 units) + "\iphlpapi_9x.dll" (16): 260 and 259.
        std::string name;
        for (int i = 0; i < nameLength - 1; ++i)
            name += japanese;
        name += "\xf0\x9f\x98\x80"; // beyond the first plane: two UTF-16 units
        const std::string folder = "C:\\" + name + "\\";
        TestApp t;
        t.files.programPath = folder + "wirewise.exe";
        t.iphlp.files = {folder + "iphlpapi_9x.dll"};
        uint32_t size = 0;
        iphlp::GetInterfaceInfo(t.app, nullptr, &size);
        iphlp::GetInterfaceInfo(t.app, nullptr, &size);
        if (tooLong) {
            // The log is ANSI text: characters its code page lacks show as "?".
            EXPECT_EQ(t.LogLines(),
                      (std::vector<std::string>{"Path too long for Windows: C:\\" +
                                                std::string(static_cast<size_t>(nameLength), '?') +
                                                "\\iphlpapi_9x.dll"}));
            EXPECT_TRUE(t.iphlp.calls.empty());
            ASSERT_EQ(t.ui.boxes.size(), 1u);
            EXPECT_EQ(t.ui.boxes[0].text,
                      "The folder this program runs from has too long a path for Windows to load "
                      "the program's files from it.\r\n\r\nCopy the program's folder to a "
                      "shorter path, such as C:\\Corvane, and start it there.");
            EXPECT_EQ(t.ui.boxes[0].style, kMbOk | kMbIconHand);
        } else {
            EXPECT_TRUE(t.LogLines().empty());
            EXPECT_TRUE(t.ui.boxes.empty());
            EXPECT_EQ(size, 4u);
        }
    }
}

TEST(IpHelperBinding, OnlyTheProgramsOwnFolderIsTried) {
    TestApp t;
    t.files.programPath = "D:\\Setup Files\\wirewise.exe";
    t.iphlp.files = {"D:\\Setup Files\\iphlpapi_9x.dll"};
    uint32_t size = 0;
    EXPECT_EQ(iphlp::GetInterfaceInfo(t.app, nullptr, &size), kErrorInsufficientBuffer);
    EXPECT_EQ(size, 4u);

    t.files.programPath = "wirewise.exe"; // no folder to be sure of: nothing is searched for
    t.iphlp.bound.clear();
    EXPECT_EQ(iphlp::GetInterfaceInfo(t.app, nullptr, &size), std::nullopt);
}

TEST(IpHelperBinding, LeaseCallsPassTheRecordAndKeepTheLastError) {
    TestApp t;
    t.iphlp.renewResults = {1168};
    t.iphlp.lastErrorAfterLease = 1168;
    uint8_t rec[260] = {7, 0, 0, 0, 'A', 0};
    EXPECT_EQ(iphlp::IpRenewAddress(t.app, rec), 1168u);
    EXPECT_EQ(iphlp::LastError(t.app), 1168u);
    ASSERT_EQ(t.iphlp.renewed.size(), 1u);
    EXPECT_EQ(t.iphlp.renewed[0], std::vector<uint8_t>(rec, rec + 260));
}

} // namespace
} // namespace ww
