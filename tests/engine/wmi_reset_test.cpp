#include <gtest/gtest.h>

#include "engine/failure.h"
#include "engine/wmi_reset.h"
#include "fakes/test_app.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kAllFive = {"IP on auto", "DNS on auto", "DNS domains reset", "Releasing DHCP Lease",
                        "Renewing DHCP Lease"};

struct WmiReset : ::testing::Test {
    TestApp t;
    AdapterEntry adapter{"Realtek RTL8139 Family PCI Fast Ethernet NIC", "{1234}", "", "", 2};

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

    EXPECT_TRUE(ResetAdaptersWmi(t.app, adapter, true));

    EXPECT_EQ(t.LogLines(), kAllFive);
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

TEST_F(WmiReset, AFailingMethodLogsItsCodeAndTheRestAreStillCalled) {
    const struct {
        const char* method;
        size_t line;
        const char* failureLine;
    } cases[] = {
        {"EnableDHCP", 0, "EnableDHCP = 70"},
        {"SetDNSServerSearchOrder", 1, "SetDNSServerSearchOrder = 70"},
        {"SetDNSDomain", 2, "SetDNSDomain = 70"},
        {"ReleaseDHCPLease", 3, "DHCP Release = 70"},
        {"RenewDHCPLease", 4, "DHCP Renew = 70"},
    };
    for (const auto& c : cases) {
        TestApp app;
        app.wmi.instances.push_back({adapter.DisplayText, {{c.method, 70}}, {}});

        EXPECT_FALSE(ResetAdaptersWmi(app.app, adapter, true)) << c.method;

        Lines expected = kAllFive;
        expected[c.line] = c.failureLine;
        EXPECT_EQ(app.LogLines(), expected) << c.method;
        EXPECT_EQ(app.wmi.calls.size(), 5u) << c.method;
    }
}

TEST_F(WmiReset, ResultsAreLoggedAsSigned16BitNumbers) {
    t.wmi.instances.push_back({adapter.DisplayText, {{"EnableDHCP", 0xFFFF}}, {}});
    EXPECT_FALSE(ResetAdaptersWmi(t.app, adapter, true));
    EXPECT_EQ(t.LogLines().at(0), "EnableDHCP = -1");
}

TEST_F(WmiReset, NoMatchingInstanceLogsNothingAndIsFalse) {
    Instances({"WAN Miniport", "Realtek RTL8139 Family PCI Fast Ethernet NIC #2",
               " Realtek RTL8139 Family PCI Fast Ethernet NIC",
               "Realtek RTL8139  Family PCI Fast Ethernet NIC"});

    EXPECT_FALSE(ResetAdaptersWmi(t.app, adapter, true));

    EXPECT_TRUE(t.LogLines().empty());
    EXPECT_TRUE(t.wmi.calls.empty());
    EXPECT_EQ(t.wmi.open, 0);
}

// With no adapter found the pass works on the empty entry 0: an instance whose description is
// null is no match for it, one whose description is the empty text is.
TEST_F(WmiReset, ANullDescriptionMatchesNoText) {
    const AdapterEntry none;
    t.wmi.instances.push_back({std::nullopt, {}, {}});
    t.wmi.instances.push_back({"", {}, {}});
    EXPECT_TRUE(ResetAdaptersWmi(t.app, none, true));
    EXPECT_EQ(Methods(), (Lines{"1 EnableDHCP", "1 SetDNSServerSearchOrder", "1 SetDNSDomain",
                                "1 ReleaseDHCPLease", "1 RenewDHCPLease"}));
}

// IP Helper and WMI often describe one adapter differently (XP's packet scheduler adds a
// suffix); the adapter's GUID then finds its instance as SettingID, but only when no description
// matches, and never for an adapter without a key.
TEST_F(WmiReset, WithoutADescriptionMatchTheSettingIdDecides) {
    const std::string guid = adapter.AdapterKey;
    const std::string miniport = adapter.DisplayText + " - Packet Scheduler Miniport";
    using Ids = std::vector<std::pair<std::string, std::optional<std::string>>>;
    const struct {
        const char* what;
        std::string adapterKey;
        Ids instances; // description, SettingID
        Lines methods; // "instance method" of the first call per switched instance
        bool result;
    } cases[] = {
        {"the GUID names the instance",
         guid,
         {{"WAN Miniport", "{9}"}, {miniport, guid}},
         {"1 EnableDHCP"},
         true},
        {"GUIDs are compared ignoring case",
         "{abcd}",
         {{miniport, "{ABCD}"}},
         {"0 EnableDHCP"},
         true},
        {"a description match wins",
         guid,
         {{miniport, guid}, {adapter.DisplayText, "{OTHER}"}},
         {"1 EnableDHCP"},
         true},
        {"every instance with the GUID",
         guid,
         {{miniport, guid}, {"x", guid}},
         {"0 EnableDHCP", "1 EnableDHCP"},
         true},
        {"no GUID matches", guid, {{miniport, "{OTHER}"}, {"x", std::nullopt}}, {}, false},
        {"an adapter without a key matches no empty GUID", "", {{miniport, ""}}, {}, false},
    };
    for (const auto& c : cases) {
        TestApp app;
        for (const auto& [description, id] : c.instances)
            app.wmi.instances.push_back({description, {}, {}, id});
        AdapterEntry entry = adapter;
        entry.AdapterKey = c.adapterKey;

        EXPECT_EQ(ResetAdaptersWmi(app.app, entry, true), c.result) << c.what;

        Lines first;
        for (const auto& call : app.wmi.calls)
            if (call.method == "EnableDHCP")
                first.push_back(std::to_string(call.instance) + " " + call.method);
        EXPECT_EQ(first, c.methods) << c.what;
        EXPECT_EQ(app.wmi.calls.size(), 5 * c.methods.size()) << c.what;
    }
}

TEST_F(WmiReset, TheDescriptionIsComparedIgnoringCase) {
    Instances({"REALTEK rtl8139 family pci FAST ethernet nic"});
    EXPECT_TRUE(ResetAdaptersWmi(t.app, adapter, true));
    EXPECT_EQ(t.LogLines(), kAllFive);
}

// Two matching adapters whose ten calls all succeed did everything asked of them: that is a
// success, not the failure a count of exactly five would report.
TEST_F(WmiReset, TwoMatchingInstancesAreBothSwitchedAndSucceedTogether) {
    Instances({adapter.DisplayText, "Other", adapter.DisplayText});

    EXPECT_TRUE(ResetAdaptersWmi(t.app, adapter, true));

    Lines expected = kAllFive;
    expected.insert(expected.end(), kAllFive.begin(), kAllFive.end());
    EXPECT_EQ(t.LogLines(), expected);
    ASSERT_EQ(t.wmi.calls.size(), 10u);
    EXPECT_EQ(t.wmi.calls[0].instance, 0u);
    EXPECT_EQ(t.wmi.calls[5].instance, 2u);
}

TEST_F(WmiReset, OneFailureOnEitherOfTwoMatchesMakesItFalse) {
    t.wmi.instances.push_back({adapter.DisplayText, {}, {}});
    t.wmi.instances.push_back({adapter.DisplayText, {{"RenewDHCPLease", 1}}, {}});
    EXPECT_FALSE(ResetAdaptersWmi(t.app, adapter, true));
    EXPECT_EQ(t.LogLines().back(), "DHCP Renew = 1");
}

TEST_F(WmiReset, WithoutLeaseRenewalTheThreeCallsMadeDecide) {
    Instances({adapter.DisplayText});
    EXPECT_TRUE(ResetAdaptersWmi(t.app, adapter, false));
    EXPECT_EQ(t.LogLines(), (Lines{"IP on auto", "DNS on auto", "DNS domains reset"}));
    EXPECT_EQ(t.wmi.calls.size(), 3u);

    TestApp failing;
    failing.wmi.instances.push_back({adapter.DisplayText, {{"SetDNSDomain", 2}}, {}});
    EXPECT_FALSE(ResetAdaptersWmi(failing.app, adapter, false));
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
