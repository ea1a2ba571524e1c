#include <gtest/gtest.h>

#include "engine/dhcp_refresh.h"
#include "engine/failure.h"
#include "fakes/wirewise/fake_iphelper.h"
#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int32_t kIndex = 2;

struct Dhcp : ::testing::Test {
    TestApp t;
    Dhcp() {
        t.app.OsCode = OsFamily::Win9x;
        t.iphlp.interfaces = {{7, u"\\DEVICE\\TCPIP_{OTHER}"}, {kIndex, u"\\DEVICE\\TCPIP_{NIC}"}};
    }
    Lines Boxes() const {
        Lines texts;
        for (const auto& b : t.ui.boxes) {
            EXPECT_EQ(b.style, kMbOk) << b.text;
            texts.push_back(b.text);
        }
        return texts;
    }
};

TEST_F(Dhcp, ReleaseAndRenewUnderTheHourglass) {
    EXPECT_EQ(RefreshDhcp(t.app, kIndex), SwitchOutcome::Done);
    EXPECT_EQ(t.LogLines(), (Lines{"Released DHCP", "Renewed DHCP"}));
    EXPECT_TRUE(t.ui.boxes.empty());
    EXPECT_EQ(t.ui.waitCursorShown, 1);
    EXPECT_EQ(t.ui.waitCursorDepth, 0);
    ASSERT_EQ(t.iphlp.released.size(), 1u);
    EXPECT_EQ(t.iphlp.released[0][0], kIndex) << "the adapter's own record is passed";
    EXPECT_EQ(t.iphlp.released[0][4], '\\');
}

TEST_F(Dhcp, ReleasedButRenewFailingShowsItsBox) {
    t.iphlp.renewResults = {50};
    t.iphlp.lastErrorAfterLease = 1168;
    EXPECT_EQ(RefreshDhcp(t.app, kIndex), SwitchOutcome::NoAddressYet);
    EXPECT_EQ(t.LogLines(),
              (Lines{"Released DHCP", "GetAdaptersInfo sizing failed with error 232"}));
    EXPECT_EQ(Boxes(), (Lines{"IpRenewAddress error 50, Err# is 1168"}));
    EXPECT_EQ(t.ui.waitCursorDepth, 0);
}

TEST_F(Dhcp, AFailedReleaseStillTriesTheRenew) {
    t.iphlp.releaseResults = {2};
    t.iphlp.lastErrorAfterLease = 0;
    EXPECT_EQ(RefreshDhcp(t.app, kIndex), SwitchOutcome::Done);
    EXPECT_EQ(t.LogLines(), (Lines{"Renewed DHCP"}));
    EXPECT_EQ(Boxes(), (Lines{"ReleaseIP error 2, Err# is 0"}));
}

// Every record carrying the index gets the call; the last one decides.
TEST_F(Dhcp, TwoRecordsWithTheAdaptersIndexAreBothReleased) {
    t.iphlp.interfaces.push_back({kIndex, u"\\DEVICE\\TCPIP_{SECOND}"});
    const struct {
        std::deque<uint32_t> results;
        bool expected;
        size_t boxes;
    } cases[] = {{{0, 0}, true, 0}, {{0, 31}, false, 1}, {{31, 0}, true, 1}};
    for (const auto& c : cases) {
        t.iphlp.released.clear();
        t.iphlp.releaseResults = c.results;
        t.ui.boxes.clear();
        EXPECT_EQ(ReleaseDhcp(t.app, kIndex), c.expected);
        ASSERT_EQ(t.iphlp.released.size(), 2u);
        EXPECT_EQ(t.iphlp.released[0][4 + 2 * 15], 'N') << "{NIC} first";
        EXPECT_EQ(t.iphlp.released[1][4 + 2 * 15], 'S') << "then {SECOND}";
        EXPECT_EQ(t.ui.boxes.size(), c.boxes);
    }
}

TEST_F(Dhcp, NoInterfaceWithTheIndexIsFalseWithoutAWord) {
    EXPECT_FALSE(ReleaseDhcp(t.app, 99));
    EXPECT_FALSE(RenewDhcp(t.app, 99));
    EXPECT_TRUE(t.LogLines().empty());
    EXPECT_TRUE(t.ui.boxes.empty());
    EXPECT_TRUE(t.iphlp.released.empty());
    EXPECT_TRUE(t.iphlp.renewed.empty());
}

TEST_F(Dhcp, AnInterfaceTableThatCannotBeFetchedIsFalseSilently) {
    const struct {
        std::optional<uint32_t> sizing, fetch;
    } cases[] = {{0u, std::nullopt}, {232u, std::nullopt}, {std::nullopt, 8u}};
    for (const auto& c : cases) {
        TestApp app;
        app.iphlp.interfaces = {{kIndex, u"NIC"}};
        app.iphlp.interfaceSizing = c.sizing;
        app.iphlp.interfaceFetch = c.fetch;
        EXPECT_FALSE(ReleaseDhcp(app.app, kIndex));
        EXPECT_FALSE(RenewDhcp(app.app, kIndex));
        EXPECT_TRUE(app.LogLines().empty());
        EXPECT_TRUE(app.ui.boxes.empty());
        EXPECT_TRUE(app.iphlp.released.empty());
    }
}

TEST_F(Dhcp, AlwaysBoundFromTheWindows9xLibrary) {
    for (const OsFamily os :
         {OsFamily::Win9x, OsFamily::Nt4, OsFamily::Win2000, OsFamily::WinXp, OsFamily::Other}) {
        TestApp app;
        app.app.OsCode = os;
        app.iphlp.interfaces = {{kIndex, u"NIC"}};
        EXPECT_EQ(RefreshDhcp(app.app, kIndex), SwitchOutcome::Done);
        EXPECT_EQ(app.iphlp.FunctionCalls(),
                  (Lines{"iphlpapi_9x!GetInterfaceInfo", "iphlpapi_9x!GetInterfaceInfo",
                         "iphlpapi_9x!IpReleaseAddress", "iphlpapi_9x!GetInterfaceInfo",
                         "iphlpapi_9x!GetInterfaceInfo", "iphlpapi_9x!IpRenewAddress"}))
            << os;
    }
}

// The registry already holds the switch; the renewal, or else the adapter's address, tells
// whether the router answered. A failed release alone changes nothing.
TEST_F(Dhcp, TheRenewalOrTheAddressDecides) {
    const struct {
        const char* what;
        std::deque<uint32_t> release, renew;
        std::vector<std::string> ips; // the adapter's addresses in IP Helper
        int32_t listedIndex;
        Lines log;
        SwitchOutcome outcome;
    } cases[] = {
        {"both succeed",
         {},
         {},
         {"0.0.0.0"},
         kIndex,
         {"Released DHCP", "Renewed DHCP"},
         SwitchOutcome::Done},
        {"release refused, renewed",
         {2},
         {},
         {"0.0.0.0"},
         kIndex,
         {"Renewed DHCP"},
         SwitchOutcome::Done},
        {"renewal refused, an address",
         {},
         {50},
         {"192.168.1.10"},
         kIndex,
         {"Released DHCP"},
         SwitchOutcome::Done},
        {"renewal refused, a later address",
         {},
         {50},
         {"0.0.0.0", "10.1.2.3"},
         kIndex,
         {"Released DHCP"},
         SwitchOutcome::Done},
        {"both refused, no address",
         {2},
         {50},
         {"0.0.0.0"},
         kIndex,
         {},
         SwitchOutcome::NoAddressYet},
        {"renewal refused, Windows' own address",
         {},
         {50},
         {"169.254.1.1"},
         kIndex,
         {"Released DHCP"},
         SwitchOutcome::NoAddressYet},
        {"renewal refused, another adapter's address",
         {},
         {50},
         {"192.168.1.10"},
         7,
         {"Released DHCP"},
         SwitchOutcome::NoAddressYet},
    };
    for (const auto& c : cases) {
        TestApp app;
        app.app.OsCode = OsFamily::Win9x;
        app.iphlp.interfaces = {{kIndex, u"NIC"}};
        app.iphlp.releaseResults = c.release;
        app.iphlp.renewResults = c.renew;
        FakeAdapter adapter;
        adapter.index = c.listedIndex;
        adapter.ips.clear();
        for (const std::string& ip : c.ips)
            adapter.ips.push_back({ip, "255.255.0.0"});
        app.iphlp.adapters = {adapter};

        EXPECT_EQ(RefreshDhcp(app.app, kIndex), c.outcome) << c.what;
        EXPECT_EQ(app.LogLines(), c.log) << c.what;
        const bool looked = !c.renew.empty();
        EXPECT_EQ(app.iphlp.FunctionCalls().back() == "iphlpapi_9x!GetAdaptersInfo", looked)
            << c.what;
    }
}

// A missing library or function is no answer: the failure goes to the settings pass, and the
// hourglass does not stay behind.
TEST_F(Dhcp, AnUnboundFunctionEndsTheRefresh) {
    t.iphlp.missing = {"iphlpapi_9x!IpRenewAddress"};
    EXPECT_THROW(RefreshDhcp(t.app, kIndex), EngineFailure);
    EXPECT_EQ(t.LogLines(), (Lines{"Released DHCP", "Missing iphlpapi_9x.dll"}));
    EXPECT_EQ(t.ui.waitCursorDepth, 0);

    TestApp noFile;
    noFile.iphlp.files.clear();
    EXPECT_THROW(RefreshDhcp(noFile.app, kIndex), EngineFailure);
    EXPECT_EQ(noFile.LogLines(), (Lines{"Missing iphlpapi_9x.dll"}));
}

} // namespace
} // namespace ww::test
