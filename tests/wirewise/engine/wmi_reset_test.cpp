#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>

#include "engine/failure.h"
#include "engine/wmi_reset.h"
#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kAllFive = {"IP on auto", "DNS on auto", "DNS domains reset", "Releasing DHCP Lease",
                        "Renewing DHCP Lease"};

struct WmiReset : ::testing::Test {
    TestApp t;
    AdapterEntry adapter{"Realtek RTL8139 Family PCI Fast Ethernet NIC", "{1234}", "", "", 2};

    // The adapter as IP Helper lists it, holding address ip.
    static FakeAdapter Listed(const std::string& ip) {
        FakeAdapter a;
        a.name = "{1234}";
        a.index = 2;
        a.ips = {{ip, "255.255.255.0"}};
        return a;
    }

    void Instances(std::initializer_list<std::string> descriptions) {
        for (const auto& d : descriptions)
            t.wmi.instances.push_back({d, {}, {}});
    }
    std::vector<std::string> Methods() const {
        std::vector<std::string> m;
        for (const auto& c : t.wmi.calls)
            m.push_back(std::to_string(c.instance) + " " + c.method);
        return m;
    }
};

TEST_F(WmiReset, AllFiveSucceedOnTheMatchingInstanceWithTheirArguments) {
    Instances({"WAN Miniport", adapter.DisplayText, "Loopback"});

    EXPECT_EQ(ResetAdaptersWmi(t.app, adapter, true), SwitchOutcome::Done);

    EXPECT_EQ(t.LogLines(), kAllFive);
    EXPECT_TRUE(t.iphlp.FunctionCalls().empty()) << "a renewed lease needs no address check";
    EXPECT_TRUE(t.sys.sleeps.empty());
    EXPECT_EQ(t.wmi.namespaces, Lines{"root\\cimv2"});
    EXPECT_EQ(t.wmi.queries,
              Lines{"Select * From Win32_NetworkAdapterConfiguration / Description SettingID"});
    EXPECT_EQ(Methods(), (Lines{"1 EnableDHCP", "1 SetDNSServerSearchOrder", "1 SetDNSDomain",
                                "1 ReleaseDHCPLease", "1 RenewDHCPLease"}));
    ASSERT_EQ(t.wmi.calls.size(), 5u);
    EXPECT_TRUE(t.wmi.calls[0].args.empty());
    EXPECT_TRUE(t.wmi.calls[1].args.empty()) << "the name server list is emptied by no argument";
    EXPECT_EQ(t.wmi.calls[2].args, (std::vector<WmiArg>{{"DNSDomain", ""}}));
    EXPECT_TRUE(t.wmi.calls[3].args.empty());
    EXPECT_TRUE(t.wmi.calls[4].args.empty());
    EXPECT_EQ(t.wmi.open, 0);
}

// Each answer keeps its line; the switching methods must succeed, the lease is judged by the
// renewal and, where that failed, by the address the adapter holds.
TEST_F(WmiReset, EachAnswerIsJudgedAsWindowsDocumentsIt) {
    using Answers = std::map<std::string, uint32_t>;
    const struct {
        const char* what;
        Answers answers;
        std::optional<std::string> address;  // the adapter's address in IP Helper; none: unlisted
        std::map<size_t, std::string> lines; // lines of kAllFive replaced
        SwitchOutcome outcome;
        bool addressRead;
    } cases[] = {
        {"all 0", {}, "0.0.0.0", {}, SwitchOutcome::Done, false},
        {"EnableDHCP 1",
         {{"EnableDHCP", 1}},
         std::nullopt,
         {{0, "EnableDHCP = 1"}},
         SwitchOutcome::DoneRestartNeeded,
         false},
        {"renewal 1",
         {{"RenewDHCPLease", 1}},
         std::nullopt,
         {{4, "DHCP Renew = 1"}},
         SwitchOutcome::DoneRestartNeeded,
         false},
        {"EnableDHCP 84",
         {{"EnableDHCP", 84}},
         "192.168.1.10",
         {{0, "EnableDHCP = 84"}},
         SwitchOutcome::Failed,
         false},
        {"SetDNSServerSearchOrder 70",
         {{"SetDNSServerSearchOrder", 70}},
         "192.168.1.10",
         {{1, "SetDNSServerSearchOrder = 70"}},
         SwitchOutcome::Failed,
         false},
        {"SetDNSDomain 91 (no rights)",
         {{"SetDNSDomain", 91}},
         "192.168.1.10",
         {{2, "SetDNSDomain = 91"}},
         SwitchOutcome::Failed,
         false},
        {"access denied as a result, logged unsigned",
         {{"EnableDHCP", 2147749891u}},
         std::nullopt,
         {{0, "EnableDHCP = 2147749891"}},
         SwitchOutcome::Failed,
         false},
        {"release 83, renewal 0",
         {{"ReleaseDHCPLease", 83}},
         std::nullopt,
         {{3, "DHCP Release = 83"}},
         SwitchOutcome::Done,
         false},
        {"release 83, renewal 1",
         {{"ReleaseDHCPLease", 83}, {"RenewDHCPLease", 1}},
         std::nullopt,
         {{3, "DHCP Release = 83"}, {4, "DHCP Renew = 1"}},
         SwitchOutcome::DoneRestartNeeded,
         false},
        {"renewal 82 with an address",
         {{"RenewDHCPLease", 82}},
         "192.168.1.10",
         {{4, "DHCP Renew = 82"}},
         SwitchOutcome::Done,
         true},
        {"renewal 82 with no address",
         {{"RenewDHCPLease", 82}},
         "0.0.0.0",
         {{4, "DHCP Renew = 82"}},
         SwitchOutcome::NoAddressYet,
         true},
        {"renewal 82 with Windows' own address",
         {{"RenewDHCPLease", 82}},
         "169.254.7.1",
         {{4, "DHCP Renew = 82"}},
         SwitchOutcome::NoAddressYet,
         true},
        {"renewal 82, the adapter not listed",
         {{"RenewDHCPLease", 82}},
         std::nullopt,
         {{4, "DHCP Renew = 82"}},
         SwitchOutcome::NoAddressYet,
         true},
        {"release 83, renewal 82, an address",
         {{"ReleaseDHCPLease", 83}, {"RenewDHCPLease", 82}},
         "10.0.0.5",
         {{3, "DHCP Release = 83"}, {4, "DHCP Renew = 82"}},
         SwitchOutcome::Done,
         true},
        {"renewal 84 with no address",
         {{"RenewDHCPLease", 84}},
         "0.0.0.0",
         {{4, "DHCP Renew = 84"}},
         SwitchOutcome::NoAddressYet,
         true},
        {"EnableDHCP 1, renewal 82, an address",
         {{"EnableDHCP", 1}, {"RenewDHCPLease", 82}},
         "192.168.1.10",
         {{0, "EnableDHCP = 1"}, {4, "DHCP Renew = 82"}},
         SwitchOutcome::DoneRestartNeeded,
         true},
        {"a failed switch is not saved by an address",
         {{"EnableDHCP", 84}, {"RenewDHCPLease", 82}},
         "192.168.1.10",
         {{0, "EnableDHCP = 84"}, {4, "DHCP Renew = 82"}},
         SwitchOutcome::Failed,
         false},
    };
    for (const auto& c : cases) {
        TestApp app;
        app.wmi.instances.push_back({adapter.DisplayText, c.answers, {}});
        if (c.address) app.iphlp.adapters = {Listed(*c.address)};

        EXPECT_EQ(ResetAdaptersWmi(app.app, adapter, true), c.outcome) << c.what;

        Lines expected = kAllFive;
        for (const auto& [line, text] : c.lines)
            expected[line] = text;
        if (!c.address && c.addressRead)
            expected.push_back("GetAdaptersInfo sizing failed with error 232");
        EXPECT_EQ(app.LogLines(), expected) << c.what;
        EXPECT_EQ(app.wmi.calls.size(), 5u) << c.what;
        EXPECT_EQ(!app.iphlp.FunctionCalls().empty(), c.addressRead) << c.what;
    }
}

// 94 and 2147786788 say the configuration was busy: the same method again, 2 s later, up to
// three more times, every answer logged.
TEST_F(WmiReset, BusyAnswersAreRetriedThreeTimesTwoSecondsApart) {
    using Seq = std::deque<uint32_t>;
    const struct {
        const char* what;
        const char* method;
        Seq answers;
        Lines lines; // in place of the method's own line
        size_t line;
        SwitchOutcome outcome;
    } cases[] = {
        {"94 then 0",
         "EnableDHCP",
         {94, 0},
         {"EnableDHCP = 94", "IP on auto"},
         0,
         SwitchOutcome::Done},
        {"write lock then 1",
         "SetDNSDomain",
         {2147786788u, 1},
         {"SetDNSDomain = 2147786788", "SetDNSDomain = 1"},
         2,
         SwitchOutcome::DoneRestartNeeded},
        {"busy four times",
         "SetDNSServerSearchOrder",
         {94, 94, 2147786788u, 94, 0},
         {"SetDNSServerSearchOrder = 94", "SetDNSServerSearchOrder = 94",
          "SetDNSServerSearchOrder = 2147786788", "SetDNSServerSearchOrder = 94"},
         1,
         SwitchOutcome::Failed},
        {"renewal busy then 0",
         "RenewDHCPLease",
         {94, 94, 0},
         {"DHCP Renew = 94", "DHCP Renew = 94", "Renewing DHCP Lease"},
         4,
         SwitchOutcome::Done},
        {"83 is not retried",
         "ReleaseDHCPLease",
         {83, 0},
         {"DHCP Release = 83"},
         3,
         SwitchOutcome::Done},
    };
    for (const auto& c : cases) {
        TestApp app;
        app.wmi.instances.push_back({adapter.DisplayText, {}, {}});
        app.wmi.instances[0].answers[c.method] = c.answers;

        EXPECT_EQ(ResetAdaptersWmi(app.app, adapter, true), c.outcome) << c.what;

        Lines expected = kAllFive;
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(c.line));
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(c.line), c.lines.begin(),
                        c.lines.end());
        EXPECT_EQ(app.LogLines(), expected) << c.what;
        size_t calls = 0;
        for (const auto& call : app.wmi.calls)
            if (call.method == c.method) ++calls;
        EXPECT_EQ(calls, c.lines.size()) << c.what;
        EXPECT_EQ(app.sys.sleeps, std::vector<uint32_t>(c.lines.size() - 1, 2000)) << c.what;
    }
}

// With no adapter found the pass works on the empty entry 0: an instance whose description is
// null is no match for it, one whose description is the empty text is.
TEST_F(WmiReset, ANullDescriptionMatchesNoText) {
    const AdapterEntry none;
    t.wmi.instances.push_back({std::nullopt, {}, {}});
    t.wmi.instances.push_back({"", {}, {}});
    EXPECT_EQ(ResetAdaptersWmi(t.app, none, true), SwitchOutcome::Done);
    EXPECT_EQ(Methods(), (Lines{"1 EnableDHCP", "1 SetDNSServerSearchOrder", "1 SetDNSDomain",
                                "1 ReleaseDHCPLease", "1 RenewDHCPLease"}));
}

// The adapter's GUID names its instance whatever the descriptions say; the description decides
// only where no instance carries the GUID, and only when it names one instance. Otherwise
// nothing is switched, not even an instance the user may not have chosen.
TEST_F(WmiReset, ExactlyTheChosenAdapterIsSwitched) {
    const std::string guid = adapter.AdapterKey;
    const std::string miniport = adapter.DisplayText + " - Packet Scheduler Miniport";
    const std::string nic = adapter.DisplayText;
    using Ids = std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>>;
    const struct {
        const char* what;
        std::string adapterKey;
        Ids instances;         // description, SettingID
        int switched;          // the instance the methods were called on; -1: none
        const char* countLine; // logged when none was
    } cases[] = {
        {"XP's description, found by the GUID",
         guid,
         {{"WAN Miniport", "{9}"}, {miniport, guid}},
         1,
         nullptr},
        {"GUIDs compare ignoring case", "{abcd}", {{miniport, "{ABCD}"}}, 0, nullptr},
        {"two cards of one model: the GUID picks",
         guid,
         {{nic, "{OTHER}"}, {nic, guid}},
         1,
         nullptr},
        {"the GUID wins over another instance's description",
         guid,
         {{nic, "{OTHER}"}, {miniport, guid}},
         1,
         nullptr},
        {"no GUID anywhere: the one description",
         guid,
         {{"x", std::nullopt}, {nic, "{9}"}},
         1,
         nullptr},
        {"no GUID anywhere: two descriptions",
         guid,
         {{nic, "{8}"}, {nic, "{9}"}},
         -1,
         "Adapters matched = 2"},
        {"the GUID twice", guid, {{nic, guid}, {"x", guid}}, -1, "Adapters matched = 2"},
        {"nothing matches",
         guid,
         {{miniport, "{OTHER}"}, {"x", std::nullopt}},
         -1,
         "Adapters matched = 0"},
        {"an adapter without a key matches no empty GUID",
         "",
         {{miniport, ""}},
         -1,
         "Adapters matched = 0"},
        {"a null description matches not even the empty text",
         guid,
         {{std::nullopt, std::nullopt}},
         -1,
         "Adapters matched = 0"},
        {"no instances at all", guid, {}, -1, "Adapters matched = 0"},
    };
    for (const auto& c : cases) {
        TestApp app;
        for (const auto& [description, id] : c.instances)
            app.wmi.instances.push_back({description, {}, {}, id});
        AdapterEntry entry = adapter;
        entry.AdapterKey = c.adapterKey;

        EXPECT_EQ(ResetAdaptersWmi(app.app, entry, true),
                  c.switched < 0 ? SwitchOutcome::Failed : SwitchOutcome::Done)
            << c.what;

        if (c.switched < 0) {
            EXPECT_TRUE(app.wmi.calls.empty()) << c.what;
            EXPECT_EQ(app.LogLines(), Lines{c.countLine}) << c.what;
            continue;
        }
        ASSERT_EQ(app.wmi.calls.size(), 5u) << c.what;
        for (const auto& call : app.wmi.calls)
            EXPECT_EQ(call.instance, static_cast<size_t>(c.switched)) << c.what;
        EXPECT_EQ(app.LogLines(), kAllFive) << c.what;
    }
}

TEST_F(WmiReset, TheDescriptionIsComparedIgnoringCase) {
    Instances({"REALTEK rtl8139 family pci FAST ethernet nic"});
    EXPECT_EQ(ResetAdaptersWmi(t.app, adapter, true), SwitchOutcome::Done);
    EXPECT_EQ(t.LogLines(), kAllFive);
}

TEST_F(WmiReset, WithoutLeaseRenewalTheThreeCallsMadeDecide) {
    Instances({adapter.DisplayText});
    EXPECT_EQ(ResetAdaptersWmi(t.app, adapter, false), SwitchOutcome::Done);
    EXPECT_EQ(t.LogLines(), (Lines{"IP on auto", "DNS on auto", "DNS domains reset"}));
    EXPECT_EQ(t.wmi.calls.size(), 3u);
    EXPECT_TRUE(t.iphlp.FunctionCalls().empty()) << "no lease asked for, no address looked at";

    TestApp failing;
    failing.wmi.instances.push_back({adapter.DisplayText, {{"SetDNSDomain", 2}}, {}});
    EXPECT_EQ(ResetAdaptersWmi(failing.app, adapter, false), SwitchOutcome::Failed);
}

// A call that fails outright (as Wine's methods do) is no method result: it ends the switch and
// goes to the caller, after what was logged so far.
TEST_F(WmiReset, FailedCallsEndItAtOnce) {
    Instances({adapter.DisplayText});
    t.wmi.instances[0].failures["SetDNSDomain"] = kWbemInvalidMethod;
    EXPECT_THROW(ResetAdaptersWmi(t.app, adapter, true), EngineFailure);
    EXPECT_EQ(t.LogLines(), (Lines{"IP on auto", "DNS on auto"}));
    EXPECT_EQ(t.wmi.calls.size(), 3u);
    EXPECT_EQ(t.wmi.open, 0);

    TestApp wine;
    wine.wmi.instances.push_back({adapter.DisplayText, {}, {}});
    wine.wmi.methodStatus = kWbemInvalidMethod;
    EXPECT_THROW(ResetAdaptersWmi(wine.app, adapter, true), EngineFailure);
    EXPECT_TRUE(wine.LogLines().empty());
    EXPECT_EQ(wine.wmi.calls.size(), 1u);

    TestApp unreachable;
    unreachable.wmi.connectStatus = static_cast<HResult>(0x80070005u);
    EXPECT_THROW(ResetAdaptersWmi(unreachable.app, adapter, true), EngineFailure);

    TestApp badQuery;
    badQuery.wmi.queryStatus = static_cast<HResult>(0x80041017u);
    EXPECT_THROW(ResetAdaptersWmi(badQuery.app, adapter, true), EngineFailure);
    EXPECT_EQ(badQuery.wmi.open, 0);
}

} // namespace
} // namespace ww::test
