#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "fakes/wirewise/registry_snapshot.h"
#include "engine/settings_pass.h"
#include "fakes/wirewise/test_app.h"
#include "platform/registry_values.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;
using enum OsFamily;

const std::string kSid = "S-1-5-21-1-2-3-1000";
const std::string kUser = "JOHN";
const std::string kIe = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const std::string kNic = "Realtek RTL8139 Family PCI Fast Ethernet NIC";
const std::string kGuid = "{4A1C8B2E-6C3D-4E5F-8A9B-0C1D2E3F4A5B}";
const std::string kInterface =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" + kGuid;
const std::string kAdapterTcpip =
    "SYSTEM\\CurrentControlSet\\Services\\" + kGuid + "\\Parameters\\Tcpip";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip";
const std::string kTcpipParameters = kTcpip + "\\Parameters";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001";

const std::string kError = "An error occured in reading/writing the network";

// The two blobs: the first ends on a zero byte that the text read leaves out.
const std::vector<uint8_t> kDefCon = {0x46, 0, 0, 0, 0x02, 0, 0, 0, 0x0b, 0, 0, 0};
const std::vector<uint8_t> kLegSav = {0x3c, 0, 0, 0, 0x05, 0, 0, 0, 0x0b, 0, 0, 0x01};

// A PC that was set up for another network: dial-up, a proxy and its script, fixed name
// servers and gateways, on the road's keys.
struct Pc {
    TestApp t;
    Road road;
    std::string userKey;

    PassOutcome outcome = PassOutcome::Done;

    // The road's platform: NT for the NT road, so that code 5 stands for a later NT build there.
    Pc(OsFamily osCode, Road r) : road(r) {
        t.app.OsCode = osCode;
        t.app.NtPlatform = road == Road::Nt;
        t.app.UserName = kUser;
        t.app.UserSid = kSid;
        userKey = (road == Road::Nt ? kSid : kUser) + "\\" + kIe;
        t.app.Adapters.push_back({kNic, road == Road::Nt ? kGuid : "0001",
                                  road == Road::Nt ? "" : "Enum\\PCI\\VEN_10EC", "", 2});
        t.app.AdapterCount = 1;
        t.app.SelectedAdapter = 1;
        t.options.ieAuto = true;
        t.wmi.instances.push_back({kNic, {}, {}});
        t.iphlp.interfaces = {{2, u"\\DEVICE\\TCPIP_NIC"}};
    }

    // The adapter in IP Helper's list, holding address ip.
    void Listed(const std::string& ip) {
        FakeAdapter a;
        a.index = 2;
        a.ips = {{ip, "255.255.255.0"}};
        t.iphlp.adapters = {a};
    }

    void SeedInternet() {
        auto& reg = t.reg;
        for (const auto& [root, key, url] :
             {std::tuple{kHkeyUsers, userKey, "http://proxy.corp/wpad.pac"},
              std::tuple{kHkeyCurrentUser, kIe, "http://cu.corp/pac"}}) {
            reg.SetDword(root, key, "EnableAutodial", 1);
            reg.SetDword(root, key, "NoNetAutodial", 1);
            reg.SetDword(root, key, "ProxyEnable", 1);
            reg.SetString(root, key, "AutoConfigURL", url);
        }
        reg.SetBinary(kHkeyUsers, userKey + "Connections", "DefaultConnectionSettings", kDefCon);
        reg.SetBinary(kHkeyUsers, userKey + "Connections", "SavedLegacySettings", kLegSav);
    }
    void SeedNt(bool withInterfaceKey = true) {
        auto& reg = t.reg;
        const std::vector<std::string> keys =
            withInterfaceKey ? std::vector{kInterface, kAdapterTcpip} : std::vector{kAdapterTcpip};
        for (const auto& key : keys) {
            reg.SetMultiSz(kHkeyLocalMachine, key, "DefaultGateway", {"192.168.0.1"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "DefaultGatewayMetric", {"0"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "IPAddress", {"192.168.0.50"});
            reg.SetMultiSz(kHkeyLocalMachine, key, "SubnetMask", {"255.255.255.0"});
            reg.SetDword(kHkeyLocalMachine, key, "EnableDHCP", 0);
        }
        if (withInterfaceKey)
            reg.SetString(kHkeyLocalMachine, kInterface, "NameServer", "10.0.0.1,10.0.0.2");
        reg.SetDword(kHkeyLocalMachine, kTcpip, "Start", 1);
        reg.SetString(kHkeyLocalMachine, kTcpipParameters, "DhcpNameServer", "192.168.0.1");
    }
    void Seed9x() {
        t.reg.SetString(kHkeyLocalMachine, kMstcp, "EnableDNS", "1");
        t.reg.SetString(kHkeyLocalMachine, kNetTrans, "IPAddress", "192.168.0.50");
        t.reg.SetString(kHkeyLocalMachine, kNetTrans, "IPMask", "255.255.255.0");
    }

    Lines Run(bool readOnly) {
        const size_t before = t.LogLines().size();
        outcome = ConfigureNetwork(t.app, readOnly);
        Lines all = t.LogLines();
        return Lines(all.begin() + static_cast<long>(before), all.end());
    }
    std::optional<FakeRegistry::Value> Get(HKey root, const std::string& key,
                                           const std::string& name) {
        return t.reg.Get(root, key, name);
    }
};

FakeRegistry::Value Sz(const std::string& s) {
    return {kRegSz, s};
}

// What WriteRegValue leaves for this write over the value that was there, by its own storage
// rules: the pass only decides what is written where.
FakeRegistry::Value Written(const FakeRegistry::Value& before, uint32_t type, RegValue value) {
    TestApp scratch;
    scratch.reg.SetValue(kHkeyLocalMachine, "K", "V", before.type, before.bytes);
    WriteRegValue(scratch.app, kHkeyLocalMachine, "K", type, "V", value);
    return *scratch.reg.Get(kHkeyLocalMachine, "K", "V");
}

void Rewrite(RegistrySnapshot& snapshot, const std::string& key, const std::string& name,
             uint32_t type, RegValue value) {
    auto& stored = snapshot.at(key).at(name);
    const FakeRegistry::Value after = Written({stored.first, stored.second}, type, value);
    stored = {after.type, after.bytes};
}
FakeRegistry::Value Dword(uint32_t v) {
    return {kRegDword, std::string(reinterpret_cast<const char*>(&v), 4)};
}
FakeRegistry::Value Binary(std::vector<uint8_t> b, uint8_t flags) {
    b[8] = flags;
    return {kRegBinary, std::string(b.begin(), b.end())};
}

const Lines kNtInternetRead = {
    "Connection:",
    ">AutoDial = 1",
    ">NoNetAuto = 1",
    ">Proxy = 1",
    ">Auto URL = http://proxy.corp/wpad.pac",
    ">Def Con = 46,00,00,00,02,00,00,00,0b,00,00,00",
    ">Leg Sav = 3c,00,00,00,05,00,00,00,0b,00,00,01,00",
};

const Lines kNtNicRead = {
    "NIC: " + kNic,
    "Area 1:",
    ">Default Gateway = 192.168.0.1\0"s,
    ">Default Gateway Metric = 0\0"s,
    ">IP Address = 192.168.0.50\0"s,
    ">Subnet Mask = 255.255.255.0\0"s,
    ">Enable DHCP = 0",
    ">Name server = 10.0.0.1,10.0.0.2",
    "Area 2:",
    ">Default Gateway = 192.168.0.1\0"s,
    ">Default Gateway Metric = 0\0"s,
    ">IP Address = 192.168.0.50\0"s,
    ">IP Mask = 255.255.255.0\0"s,
    ">Enable DHCP = 0",
    ">Start = 1",
    ">DHCP NS = 192.168.0.1",
};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Lines kWmiAllFive = {"IP on auto", "DNS on auto", "DNS domains reset", "Releasing DHCP Lease",
                           "Renewing DHCP Lease"};

TEST(SettingsPass, ReadPassOnTheNtRoad) {
    for (const OsFamily os : {Nt4, Win2000, WinXp, Other}) {
        Pc pc(os, Road::Nt);
        pc.SeedInternet();
        pc.SeedNt();
        const auto before = Snapshot(pc.t.reg);
        EXPECT_EQ(pc.Run(true), Join({{"Selected: " + kNic}, kNtInternetRead, kNtNicRead})) << os;
        EXPECT_EQ(Snapshot(pc.t.reg), before) << "a read pass changes nothing";
        EXPECT_TRUE(pc.t.ui.boxes.empty());
        EXPECT_EQ(pc.t.reg.OpenHandleCount(), 0u);
    }
}

// Each key's values are read on one open key: one open per key of the road, the Internet
// Settings, their connections, the interface, the adapter's Tcpip, Tcpip and its parameters on NT;
// on Windows 9x the user's and the current Internet Settings, MSTCP and NetTrans.
TEST(SettingsPass, ReadsEachKeyOnOneOpenKey) {
    for (const auto& [road, opens] : {std::tuple{Road::Nt, 6u}, {Road::Win9x, 4u}}) {
        Pc pc(road == Road::Nt ? WinXp : Win9x, road);
        pc.SeedInternet();
        road == Road::Nt ? pc.SeedNt() : pc.Seed9x();
        pc.Run(true);
        EXPECT_EQ(pc.t.reg.openAccess.size(), opens);
        EXPECT_EQ(pc.t.reg.OpenHandleCount(), 0u);
    }
}

// Windows XP, gateways box unticked: the Internet Settings of the user's own key, the blobs, the
// name servers, WMI; gateways and HKEY_CURRENT_USER stay as they were.
TEST(SettingsPass, WritePassOnWindowsXpWithGatewaysUnticked) {
    Pc pc(WinXp, Road::Nt);
    pc.SeedInternet();
    pc.SeedNt();
    auto expectedRegistry = Snapshot(pc.t.reg);

    EXPECT_EQ(pc.Run(false),
              Join({{"Selected: " + kNic, "Setting values", "Connection:", "Auto Dial", "OK",
                     "No Net Auto", "OK", "Proxy", "OK", "Auto URL", "OK",
                     "Autokey = " + kSid + "\\" + kIe + "Connections", "Setting Default Con",
                     "Setting Legacy", "Auto detect = True", "NIC(s):", "Clearing NameServer",
                     "Reset DHCP NS", "NIC setup"},
                    kWmiAllFive,
                    {"IP, DNS & DHCP = True", "Outcome = Done", "Completed Setup"}}));

    // Exactly these values changed, nothing else.
    const std::string user = "HKU\\" + pc.userKey;
    auto& ie = expectedRegistry[user.substr(0, user.size() - 1)];
    ie["EnableAutodial"] = {kRegDword, Dword(0).bytes};
    ie["NoNetAutodial"] = {kRegDword, Dword(0).bytes};
    ie["ProxyEnable"] = {kRegDword, Dword(0).bytes};
    Rewrite(expectedRegistry, user.substr(0, user.size() - 1), "AutoConfigURL", 1, "");
    auto& con = expectedRegistry[user + "Connections"];
    con["DefaultConnectionSettings"] = {kRegBinary, Binary(kDefCon, 0x09).bytes};
    con["SavedLegacySettings"] = {kRegBinary, Binary(kLegSav, 0x09).bytes};
    Rewrite(expectedRegistry, "HKLM\\" + kInterface, "NameServer", 1, "");
    Rewrite(expectedRegistry, "HKLM\\" + kTcpipParameters, "DhcpNameServer", 1, "");
    EXPECT_EQ(Snapshot(pc.t.reg), expectedRegistry);

    EXPECT_EQ(pc.Run(true), Join({{"Selected: " + kNic,
                                   "Connection:",
                                   ">AutoDial = 0",
                                   ">NoNetAuto = 0",
                                   ">Proxy = 0",
                                   ">Auto URL = ",
                                   ">Def Con = 46,00,00,00,02,00,00,00,09,00,00,00",
                                   ">Leg Sav = 3c,00,00,00,05,00,00,00,09,00,00,01,00",
                                   "NIC: " + kNic,
                                   "Area 1:",
                                   ">Default Gateway = 192.168.0.1\0"s,
                                   ">Default Gateway Metric = 0\0"s,
                                   ">IP Address = 192.168.0.50\0"s,
                                   ">Subnet Mask = 255.255.255.0\0"s,
                                   ">Enable DHCP = 0",
                                   ">Name server = ",
                                   "Area 2:",
                                   ">Default Gateway = 192.168.0.1\0"s,
                                   ">Default Gateway Metric = 0\0"s,
                                   ">IP Address = 192.168.0.50\0"s,
                                   ">IP Mask = 255.255.255.0\0"s,
                                   ">Enable DHCP = 0",
                                   ">Start = 1",
                                   ">DHCP NS = "}}));
    EXPECT_TRUE(pc.t.ui.boxes.empty());
}

// Windows 2000 clears the gateways with the box unticked; NT 4, XP and later NT builds when it is
// ticked. NT 4 has no interface key: its rows log nothing, "Area 1:" stays.
TEST(SettingsPass, WritePassClearsGatewaysOn2000AlwaysAndOnRequest) {
    const struct {
        OsFamily os;
        bool ticked;
        bool interfaceKey;
    } cases[] = {{Win2000, false, true},
                 {Nt4, true, false},
                 {WinXp, true, true},
                 {Win2000, true, true},
                 {Other, true, true}};
    for (const auto& c : cases) {
        Pc pc(c.os, Road::Nt);
        pc.t.options.gates = c.ticked;
        pc.SeedInternet();
        pc.SeedNt(c.interfaceKey);

        const Lines nics =
            c.interfaceKey
                ? Lines{"Area 1:",     "Gateway set",        "Gateway Metric set",  "Area 2:",
                        "Gateway set", "Gateway Metric set", "Clearing NameServer", "Reset DHCP NS"}
                : Lines{"Area 1:", "Area 2:", "Gateway set", "Gateway Metric set", "Reset DHCP NS"};
        EXPECT_EQ(pc.Run(false),
                  Join({{"Selected: " + kNic, "Setting values", "Connection:", "Auto Dial", "OK",
                         "No Net Auto", "OK", "Proxy", "OK", "Auto URL", "OK",
                         "Autokey = " + kSid + "\\" + kIe + "Connections", "Setting Default Con",
                         "Setting Legacy", "Auto detect = True", "NIC(s):"},
                        nics,
                        {"NIC setup"},
                        kWmiAllFive,
                        {"IP, DNS & DHCP = True", "Outcome = Done", "Completed Setup"}}))
            << c.os;
        for (const auto& key : {kInterface, kAdapterTcpip}) {
            if (key == kInterface && !c.interfaceKey) {
                EXPECT_FALSE(pc.t.reg.KeyExists(kHkeyLocalMachine, kInterface)) << "never created";
                continue;
            }
            for (const char* name : {"DefaultGateway", "DefaultGatewayMetric"})
                EXPECT_EQ(pc.Get(kHkeyLocalMachine, key, name),
                          Written({kRegMultiSz,
                                   name == "DefaultGateway"s ? "192.168.0.1\0\0"s : "0\0\0"s},
                                  7, ""))
                    << c.os << name;
            // Addressing is left to WMI.
            EXPECT_EQ(pc.Get(kHkeyLocalMachine, key, "IPAddress")->type, kRegMultiSz);
            EXPECT_EQ(pc.Get(kHkeyLocalMachine, key, "EnableDHCP"), Dword(0));
        }
        EXPECT_EQ(pc.Get(kHkeyCurrentUser, kIe, "ProxyEnable"), Dword(1)) << "NT leaves HKCU";
    }
}

TEST(SettingsPass, GatewaysStayOnNt4XpAndLaterWithTheBoxUnticked) {
    for (const OsFamily os : {Nt4, WinXp, Other}) {
        Pc pc(os, Road::Nt);
        pc.SeedInternet();
        pc.SeedNt();
        const Lines log = pc.Run(false);
        EXPECT_EQ(std::count(log.begin(), log.end(), "Gateway set"), 0) << os;
        EXPECT_EQ(std::count(log.begin(), log.end(), "Area 1:"), 0) << os;
        EXPECT_EQ(pc.Get(kHkeyLocalMachine, kInterface, "DefaultGateway")->type, kRegMultiSz);
    }
}

const Lines k9xRead = {
    "Connection:",
    ">AutoDial = 1",
    ">NoNetAuto = 1",
    ">Proxy = 1",
    ">Auto URL = http://proxy.corp/wpad.pac",
    ">AutoDial - Current = 1",
    ">NoNetAuto - Current = 1",
    ">Proxy - Current = 1",
    ">Auto URL - Current = http://cu.corp/pac",
    "NIC: " + kNic,
    ">Enable DNS = 1",
    ">IP Address = 192.168.0.50",
    ">Subnet Mask = 255.255.255.0",
};

const Lines k9xWrite = {
    "Setting values",
    "Connection:",
    "Auto Dial",
    "OK",
    "No Net Auto",
    "OK",
    "Proxy",
    "OK",
    "Auto URL",
    "OK",
    "Auto Dial - Current",
    "OK",
    "No Net Auto - Current",
    "OK",
    "Proxy - Current",
    "OK",
    "Auto URL - Current",
    "OK",
    "Autokey = " + kUser + "\\" + kIe + "Connections",
    "Setting Default Con",
    "Setting Legacy",
    "Auto detect = True",
    "NIC(s):",
    "Enable DNS",
    "OK",
    "IP Address",
    "OK",
    "Subnet Mask",
    "OK",
    "Attempt to refresh DHCP",
    "Released DHCP",
    "Renewed DHCP",
    "DHCP = True",
    "Outcome = Done",
    "Completed Setup",
};

// Windows 9x, and a platform that is neither 9x nor NT by the same road, with the user name as the
// key prefix.
TEST(SettingsPass, ReadAndWritePassOnTheWindows9xRoad) {
    for (const OsFamily os : {Win9x, Other}) {
        Pc pc(os, Road::Win9x);
        pc.t.options.gates = true; // never consulted on this road
        pc.SeedInternet();
        pc.Seed9x();
        pc.SeedNt();
        auto expectedRegistry = Snapshot(pc.t.reg);

        EXPECT_EQ(pc.Run(true), Join({{"Selected: " + kNic}, k9xRead})) << os;
        EXPECT_EQ(pc.Run(false), Join({{"Selected: " + kNic}, k9xWrite})) << os;

        for (const auto& ie : {"HKU\\" + kUser + "\\" + kIe, "HKCU\\" + kIe}) {
            auto& values = expectedRegistry[ie.substr(0, ie.size() - 1)];
            values["EnableAutodial"] = {kRegDword, Dword(0).bytes};
            values["NoNetAutodial"] = {kRegDword, Dword(0).bytes};
            values["ProxyEnable"] = {kRegDword, Dword(0).bytes};
            Rewrite(expectedRegistry, ie.substr(0, ie.size() - 1), "AutoConfigURL", 1, "");
        }
        auto& con = expectedRegistry["HKU\\" + kUser + "\\" + kIe + "Connections"];
        con["DefaultConnectionSettings"] = {kRegBinary, Binary(kDefCon, 0x09).bytes};
        con["SavedLegacySettings"] = {kRegBinary, Binary(kLegSav, 0x09).bytes};
        Rewrite(expectedRegistry, "HKLM\\" + kMstcp, "EnableDNS", 1, 0LL);
        Rewrite(expectedRegistry, "HKLM\\" + kNetTrans, "IPAddress", 7, "0.0.0.0");
        Rewrite(expectedRegistry, "HKLM\\" + kNetTrans, "IPMask", 7, "0.0.0.0");
        EXPECT_EQ(Snapshot(pc.t.reg), expectedRegistry) << "NT keys and gateways untouched";

        EXPECT_EQ(pc.Run(true),
                  Join({{"Selected: " + kNic, "Connection:", ">AutoDial = 0", ">NoNetAuto = 0",
                         ">Proxy = 0", ">Auto URL = ", ">AutoDial - Current = 0",
                         ">NoNetAuto - Current = 0", ">Proxy - Current = 0",
                         ">Auto URL - Current = ", "NIC: " + kNic, ">Enable DNS = 0",
                         ">IP Address = 0.0.0.0", ">Subnet Mask = 0.0.0.0"}}));
        EXPECT_TRUE(pc.t.wmi.namespaces.empty()) << "no WMI on this road";
    }
}

TEST(SettingsPass, NoRoadLogsOnlyItsFrame) {
    for (const OsFamily os : {Win32s, OsFamily{6}, OsFamily{-1}}) {
        Pc pc(os, Road::Nt);
        pc.SeedInternet();
        pc.SeedNt();
        pc.Seed9x();
        const auto before = Snapshot(pc.t.reg);
        EXPECT_EQ(pc.Run(true), (Lines{"Selected: " + kNic})) << os;
        EXPECT_EQ(pc.Run(false), (Lines{"Selected: " + kNic, "Setting values", "Completed Setup"}));
        EXPECT_EQ(Snapshot(pc.t.reg), before);
        EXPECT_TRUE(pc.t.wmi.namespaces.empty());
        EXPECT_TRUE(pc.t.iphlp.calls.empty());
    }
}

// Nothing is created: the Internet Settings and Windows 9x rows log their step label only, the
// NT rows nothing at all.
TEST(SettingsPass, MissingValuesAreNeverCreated) {
    Pc win9x(Win9x, Road::Win9x);
    win9x.t.iphlp.interfaces.clear();
    EXPECT_EQ(win9x.Run(false), (Lines{"Selected: " + kNic,
                                       "Setting values",
                                       "Connection:",
                                       "Auto Dial",
                                       "No Net Auto",
                                       "Proxy",
                                       "Auto URL",
                                       "Auto Dial - Current",
                                       "No Net Auto - Current",
                                       "Proxy - Current",
                                       "Auto URL - Current",
                                       "Autokey = " + kUser + "\\" + kIe + "Connections",
                                       "Auto detect = False",
                                       "NIC(s):",
                                       "Enable DNS",
                                       "IP Address",
                                       "Subnet Mask",
                                       "Attempt to refresh DHCP",
                                       "GetAdaptersInfo sizing failed with error 232",
                                       "DHCP = False",
                                       "Outcome = No address from the router yet",
                                       "Completed Setup"}));
    FakeRegistry empty;
    EXPECT_EQ(Snapshot(win9x.t.reg), Snapshot(empty));

    Pc nt(Win2000, Road::Nt);
    nt.t.wmi.instances.clear();
    EXPECT_EQ(nt.Run(false),
              (Lines{"Selected: " + kNic, "Setting values", "Connection:", "Auto Dial",
                     "No Net Auto", "Proxy", "Auto URL",
                     "Autokey = " + kSid + "\\" + kIe + "Connections", "Auto detect = False",
                     "NIC(s):", "Area 1:", "Area 2:", "NIC setup", "Adapters matched = 0",
                     "IP, DNS & DHCP = False", "Outcome = Failed", "Completed Setup"}));
    EXPECT_FALSE(nt.t.reg.KeyExists(kHkeyLocalMachine, kInterface));
    EXPECT_FALSE(nt.t.reg.KeyExists(kHkeyUsers, kSid));
    EXPECT_EQ(nt.Run(true),
              (Lines{"Selected: " + kNic, "Connection:", "NIC: " + kNic, "Area 1:", "Area 2:"}));
}

// A refused write is not told apart from a done one.
TEST(SettingsPass, AFailedWriteStillLogsItsDoneLine) {
    Pc nt(Win2000, Road::Nt);
    nt.SeedInternet();
    nt.SeedNt();
    nt.t.reg.FailOp(FakeRegistry::Op::SetValueEx, kErrorAccessDenied);
    const Lines log = nt.Run(false);
    for (const char* done : {"OK", "Gateway set", "Gateway Metric set", "Clearing NameServer",
                             "Reset DHCP NS", "Completed Setup"})
        EXPECT_NE(std::find(log.begin(), log.end(), done), log.end()) << done;
    EXPECT_NE(std::find(log.begin(), log.end(), "Auto detect = False"), log.end());
    EXPECT_EQ(nt.Get(kHkeyLocalMachine, kInterface, "DefaultGateway")->type, kRegMultiSz);

    Pc win9x(Win9x, Road::Win9x);
    win9x.SeedInternet();
    win9x.Seed9x();
    win9x.t.reg.FailOp(FakeRegistry::Op::SetValueEx, kErrorAccessDenied);
    const Lines log9x = win9x.Run(false);
    EXPECT_EQ(std::count(log9x.begin(), log9x.end(), "OK"), 11);
    EXPECT_EQ(win9x.Get(kHkeyLocalMachine, kNetTrans, "IPAddress"), Sz("192.168.0.50"s + '\0'));
}

TEST(SettingsPass, UntickedAutoDetectLeavesTheBlobs) {
    Pc pc(WinXp, Road::Nt);
    pc.t.options.ieAuto = false;
    pc.SeedInternet();
    const Lines log = pc.Run(false);
    EXPECT_EQ(log.at(11), "Auto detect = False");
    EXPECT_EQ(log.at(10), "OK");
    EXPECT_EQ(pc.Get(kHkeyUsers, pc.userKey + "Connections", "DefaultConnectionSettings"),
              Binary(kDefCon, 0x0b));
}

// A failure inside ends the pass with the error box: no "Completed Setup", earlier writes stay.
TEST(SettingsPass, AFailureEndsThePassWithTheErrorBox) {
    Pc shortBlob(WinXp, Road::Nt);
    shortBlob.SeedInternet();
    shortBlob.t.reg.SetBinary(kHkeyUsers, shortBlob.userKey + "Connections",
                              "DefaultConnectionSettings", {0x46, 0, 0, 0, 2, 0, 0, 0});
    Lines log = shortBlob.Run(false);
    EXPECT_EQ(log.back(), "Autokey = " + kSid + "\\" + kIe + "Connections");
    ASSERT_EQ(shortBlob.t.ui.boxes.size(), 1u);
    EXPECT_EQ(shortBlob.t.ui.boxes[0].text, kError);
    EXPECT_EQ(shortBlob.t.ui.boxes[0].style, kMbOk | kMbIconHand);
    EXPECT_EQ(shortBlob.Get(kHkeyUsers, shortBlob.userKey, "ProxyEnable"), Dword(0));

    // WMI without the methods, as Wine has it.
    Pc wine(WinXp, Road::Nt);
    wine.SeedNt();
    wine.t.wmi.methodStatus = kWbemInvalidMethod;
    log = wine.Run(false);
    EXPECT_EQ(log.back(), "NIC setup");
    EXPECT_EQ(wine.Get(kHkeyLocalMachine, kInterface, "NameServer"),
              Written(Sz("10.0.0.1,10.0.0.2"s + '\0'), 1, ""));
    ASSERT_EQ(wine.t.ui.boxes.size(), 1u);
    EXPECT_EQ(wine.t.ui.boxes[0].text, kError);

    // IP Helper's library missing on the Windows 9x road.
    Pc noLibrary(Win9x, Road::Win9x);
    noLibrary.t.iphlp.files.clear();
    log = noLibrary.Run(false);
    EXPECT_EQ(log.back(), "Missing iphlpapi_9x.dll");
    EXPECT_EQ(log.at(log.size() - 2), "Attempt to refresh DHCP");
    EXPECT_EQ(noLibrary.t.ui.boxes.size(), 1u);
    EXPECT_EQ(noLibrary.t.ui.waitCursorDepth, 0);

    // The selected entry outside the list: not even "Selected: ".
    for (const int16_t index : {2, -1}) {
        Pc outside(WinXp, Road::Nt);
        outside.t.app.SelectedAdapter = index;
        EXPECT_TRUE(outside.Run(true).empty());
        EXPECT_EQ(outside.t.ui.boxes.size(), 1u);
    }
}

// The caller learns how far the run got: a write pass that its error box ended, or an NT adapter
// that WMI did not switch, did not get through; a lease the router has not given yet leaves the
// PC switched but without its address; a read pass always did what it was asked.
TEST(SettingsPass, TheOutcomeTellsWhetherTheWritePassGotThrough) {
    const struct {
        const char* what;
        OsFamily os;
        Road road;
        bool readOnly;
        std::function<void(Pc&)> arrange;
        PassOutcome outcome;
    } cases[] = {
        {"NT, switched", WinXp, Road::Nt, false, [](Pc&) {}, PassOutcome::Done},
        {"later NT, switched", Other, Road::Nt, false, [](Pc&) {}, PassOutcome::Done},
        {"NT, no instance", WinXp, Road::Nt, false, [](Pc& pc) { pc.t.wmi.instances.clear(); },
         PassOutcome::AdapterNotSwitched},
        {"NT, a method said no", Other, Road::Nt, false,
         [](Pc& pc) { pc.t.wmi.instances[0].returnValues["EnableDHCP"] = 84; },
         PassOutcome::AdapterNotSwitched},
        {"NT, no methods", Win2000, Road::Nt, false,
         [](Pc& pc) { pc.t.wmi.methodStatus = kWbemInvalidMethod; }, PassOutcome::EndedEarly},
        {"NT read pass", WinXp, Road::Nt, true, [](Pc& pc) { pc.t.wmi.instances.clear(); },
         PassOutcome::Done},
        {"9x, refresh refused, no address", Win9x, Road::Win9x, false,
         [](Pc& pc) { pc.t.iphlp.interfaces.clear(); }, PassOutcome::NoAddressYet},
        {"9x, refresh refused, an address", Win9x, Road::Win9x, false,
         [](Pc& pc) {
             pc.t.iphlp.interfaces.clear();
             pc.Listed("192.168.1.10");
         },
         PassOutcome::Done},
        {"NT, restart needed", WinXp, Road::Nt, false,
         [](Pc& pc) { pc.t.wmi.instances[0].returnValues["EnableDHCP"] = 1; },
         PassOutcome::DoneRestartNeeded},
        {"NT, renewal 82, no address", Win2000, Road::Nt, false,
         [](Pc& pc) {
             pc.t.wmi.instances[0].returnValues["RenewDHCPLease"] = 82;
             pc.Listed("169.254.10.20");
         },
         PassOutcome::NoAddressYet},
        {"9x, no library", Win9x, Road::Win9x, false, [](Pc& pc) { pc.t.iphlp.files.clear(); },
         PassOutcome::EndedEarly},
        {"no road", Win32s, Road::Nt, false, [](Pc&) {}, PassOutcome::Done},
        {"entry outside the list", WinXp, Road::Nt, true,
         [](Pc& pc) { pc.t.app.SelectedAdapter = 3; }, PassOutcome::EndedEarly},
    };
    for (const auto& c : cases) {
        Pc pc(c.os, c.road);
        pc.SeedInternet();
        pc.SeedNt();
        pc.Seed9x();
        c.arrange(pc);
        const Lines log = pc.Run(c.readOnly);
        EXPECT_EQ(pc.outcome, c.outcome) << c.what;
        const std::map<PassOutcome, std::string> lines = {
            {PassOutcome::Done, "Outcome = Done"},
            {PassOutcome::DoneRestartNeeded, "Outcome = Done, restart needed"},
            {PassOutcome::NoAddressYet, "Outcome = No address from the router yet"},
            {PassOutcome::AdapterNotSwitched, "Outcome = Failed"}};
        if (!c.readOnly && c.outcome != PassOutcome::EndedEarly && c.os != Win32s) {
            ASSERT_GE(log.size(), 3u) << c.what;
            EXPECT_EQ(log[log.size() - 2], lines.at(c.outcome)) << c.what;
            const bool done =
                c.outcome == PassOutcome::Done || c.outcome == PassOutcome::DoneRestartNeeded;
            EXPECT_EQ(log[log.size() - 3],
                      std::string(c.road == Road::Nt ? "IP, DNS & DHCP = " : "DHCP = ") +
                          (done ? "True" : "False"))
                << c.what;
        }
        EXPECT_EQ(pc.t.ui.boxes.size(), c.outcome == PassOutcome::EndedEarly ? 1u : 0u) << c.what;
    }
}

// No adapter found: the empty entry 0 is used, with empty key parts.
TEST(SettingsPass, TheEmptyEntryZeroWhenNoAdapterWasFound) {
    Pc pc(WinXp, Road::Nt);
    pc.t.app.SelectedAdapter = 0;
    pc.SeedInternet();
    const Lines log = pc.Run(true);
    EXPECT_EQ(log.at(0), "Selected: ");
    EXPECT_EQ(log.at(8), "NIC: ");
    EXPECT_TRUE(pc.t.ui.boxes.empty());
}

} // namespace
} // namespace ww::test
