#include "adapters/ipconfig_report.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "adapters/lease_time.h"
#include "fakes/wirewise/test_app.h"

namespace ww {
namespace {

using test::FakeAdapter;
using test::FakeIpHelper;
using test::TestApp;
using Lines = std::vector<std::string>;

const Lines kComputerLines = {"Host Name:  PC1",
                              "DNS Servers:  192.168.1.1",
                              "Node type: Hybrid",
                              "NetBIOS Scope ID:  ",
                              "IP Routing not enabled",
                              "WINS Proxy not Enabled ",
                              "NetBIOS Resolution Does not use DNS  "};

const Lines kEth0Block = {"Adapter name: Ethernet adapter ",
                          " AdapterDescription: eth0",
                          " Physical Address: 00-11-22-33-44-55",
                          " DHCP Enabled ",
                          " IP Address: 192.168.1.10",
                          " Subnet Mask: 255.255.255.0",
                          " Default Gateway: 192.168.1.1",
                          " DHCP Server: ",
                          " Primary WINS Server: ",
                          " Secondary WINS Server: ",
                          " Lease Obtained: Thursday, Jan 1 00:00:00 1970",
                          " Lease Expires : Thursday, Jan 1 00:00:00 1970"};

const std::string kOpening = " -- Checking status: ipconfig --";
const std::string kClosing = " -- Ipconfig complete --";

Lines Joined(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

Lines Head(const Lines& lines, size_t count) {
    return Lines(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
}

// Whether run stands in log as it is, line after line.
bool HasRun(const Lines& log, const Lines& run) {
    return std::search(log.begin(), log.end(), run.begin(), run.end()) != log.end();
}

Lines Report(TestApp& t) {
    LogIpConfig(t.app);
    return t.LogLines();
}

// The adapter blocks of a report, each from its "Adapter name:" line on.
std::vector<Lines> Blocks(const Lines& log) {
    std::vector<Lines> blocks;
    for (const auto& l : log) {
        if (l.rfind("Adapter name:", 0) == 0) blocks.emplace_back();
        if (!blocks.empty() && l != kClosing) blocks.back().push_back(l);
    }
    return blocks;
}

// eth0's block with other address and gateway lines between the DHCP line and the DHCP server.
Lines Eth0BlockWith(const Lines& addresses) {
    return Joined(
        {Head(kEth0Block, 4), addresses, Lines(kEth0Block.begin() + 7, kEth0Block.end())});
}

TEST(LogIpConfig, OneEthernetAdapterGivesTheWholeReport) {
    TestApp t;
    t.iphlp.adapters = {FakeAdapter{}};
    EXPECT_EQ(Report(t), Joined({{kOpening}, kComputerLines, kEth0Block, {kClosing}}));
}

TEST(LogIpConfig, ComputerWideSettings) {
    const struct {
        const char* what;
        std::function<void(test::FakeNetworkParams&)> arrange;
        Lines lines;
    } cases[] = {
        {"two name servers",
         [](auto& p) {
             p.dnsServers = {"10.0.0.1", "10.0.0.2"};
             p.hostName = "  box  ";
         },
         {"Host Name:  box", "DNS Servers:  10.0.0.1", "DNS Servers:  10.0.0.2"}},
        {"no name server",
         [](auto& p) { p.dnsServers.clear(); },
         {"Host Name:  PC1", "DNS Servers:  "}},
        {"three name servers",
         [](auto& p) {
             p.dnsServers = {"1.1.1.1", "2.2.2.2", "3.3.3.3"};
         },
         {"Host Name:  PC1", "DNS Servers:  1.1.1.1", "DNS Servers:  2.2.2.2",
          "DNS Servers:  3.3.3.3"}},
    };
    for (const auto& c : cases) {
        TestApp t;
        c.arrange(t.iphlp.params);
        EXPECT_TRUE(HasRun(Report(t), Joined({{kOpening}, c.lines}))) << c.what;
    }
}

TEST(LogIpConfig, NodeTypeScopeAndFlags) {
    const struct {
        uint32_t node;
        uint32_t flags;
        std::string scope;
        Lines lines;
    } cases[] = {
        {1,
         7,
         " corp ",
         {"Node type: Broadcast", "NetBIOS Scope ID:  corp", "IP Routing Enabled ",
          "WINS Proxy Enabled ", "NetBIOS Resolution Uses DNS "}},
        {2,
         1,
         "",
         {"Node type: Peer to peer", "NetBIOS Scope ID:  ", "IP Routing Enabled ",
          "WINS Proxy not Enabled ", "NetBIOS Resolution Does not use DNS  "}},
        {4,
         2,
         "",
         {"Node type: Mixed", "NetBIOS Scope ID:  ", "IP Routing not enabled",
          "WINS Proxy Enabled ", "NetBIOS Resolution Does not use DNS  "}},
        {8,
         4,
         "",
         {"Node type: Hybrid", "NetBIOS Scope ID:  ", "IP Routing not enabled",
          "WINS Proxy not Enabled ", "NetBIOS Resolution Uses DNS "}},
        {3,
         0,
         "",
         {"Unknown node type", "NetBIOS Scope ID:  ", "IP Routing not enabled",
          "WINS Proxy not Enabled ", "NetBIOS Resolution Does not use DNS  "}},
        {0, 0, "", {"Unknown node type"}},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.params.nodeType = c.node;
        t.iphlp.params.scopeId = c.scope;
        t.iphlp.params.enableRouting = (c.flags & 1) ? 5 : 0;
        t.iphlp.params.enableProxy = (c.flags & 2) ? 1 : 0;
        t.iphlp.params.enableDns = (c.flags & 4) ? 1 : 0;
        EXPECT_TRUE(HasRun(Report(t), Joined({{kComputerLines[1]}, c.lines}))) << c.node;
    }
}

TEST(LogIpConfig, TypeLineByAdapterType) {
    const struct {
        uint32_t type;
        const char* line;
    } cases[] = {
        {6, "Adapter name: Ethernet adapter "},  {9, "Adapter name: Token Ring adapter "},
        {15, "Adapter name: FDDI adapter "},     {23, "Adapter name: PPP adapter"},
        {24, "Adapter name: Loopback adapter "}, {28, "Adapter name: Slip adapter "},
        {1, "Adapter name: Other adapter "},     {71, "Adapter name: Other adapter "},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {FakeAdapter{}};
        t.iphlp.adapters[0].type = c.type;
        EXPECT_TRUE(HasRun(Report(t), {kComputerLines.back(), c.line, kEth0Block[1]})) << c.type;
    }
}

// Each case gives the changed lines with the line before them.
TEST(LogIpConfig, AdapterFields) {
    const struct {
        const char* what;
        std::function<void(FakeAdapter&)> arrange;
        Lines run;
    } cases[] = {
        {"physical address in upper-case pairs",
         [](auto& a) { a.address = {0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E}; },
         {" AdapterDescription: eth0", " Physical Address: 00-0A-1B-2C-3D-4E"}},
        {"no physical address",
         [](auto& a) { a.address.clear(); },
         {" AdapterDescription: eth0", " Physical Address: "}},
        {"eight-byte physical address",
         [](auto& a) { a.address = {1, 2, 3, 4, 5, 6, 7, 0xFF}; },
         {" AdapterDescription: eth0", " Physical Address: 01-02-03-04-05-06-07-FF"}},
        {"description trimmed and cut at NUL",
         [](auto& a) { a.description = std::string("  Intel PRO \0old", 16); },
         {"Adapter name: Ethernet adapter ", " AdapterDescription: Intel PRO"}},
        {"DHCP off",
         [](auto& a) { a.dhcpEnabled = 0; },
         {" Physical Address: 00-11-22-33-44-55", " DHCP disabled"}},
        {"DHCP server and WINS",
         [](auto& a) {
             a.dhcpServer = "192.168.1.1";
             a.primaryWins = "10.1.1.1";
             a.secondaryWins = "10.1.1.2";
         },
         {" Default Gateway: 192.168.1.1", " DHCP Server: 192.168.1.1"}},
        {"lease obtained",
         [](auto& a) { a.leaseObtained = 1700000000; },
         {" Secondary WINS Server: ", " Lease Obtained: Tuesday, Nov 14 22:13:20 2023"}},
        {"lease expires",
         [](auto& a) { a.leaseExpires = 2147483647; },
         {" Lease Obtained: Thursday, Jan 1 00:00:00 1970",
          " Lease Expires : Tuesday, Jan 19 03:14:07 2038"}},
        {"lease before 1970",
         [](auto& a) { a.leaseExpires = -1; },
         {" Lease Obtained: Thursday, Jan 1 00:00:00 1970",
          " Lease Expires : Wednesday, Dec 31 23:59:59 1969"}},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {FakeAdapter{}};
        c.arrange(t.iphlp.adapters[0]);
        const Lines log = Report(t);
        EXPECT_TRUE(HasRun(log, c.run)) << c.what;
        EXPECT_EQ(log.back(), kClosing) << c.what;
    }
}

TEST(LogIpConfig, AddressAndGatewayLists) {
    TestApp t;
    FakeAdapter a;
    a.ips = {{"192.168.1.10", "255.255.255.0"}, {"10.0.0.5", "255.0.0.0"}};
    a.gateways = {"192.168.1.1", "192.168.1.254"};
    FakeAdapter none;
    none.ips.clear();
    none.gateways.clear();
    t.iphlp.adapters = {a, none};
    const Lines log = Report(t);
    EXPECT_EQ(
        Blocks(log),
        (std::vector<Lines>{
            Eth0BlockWith({" IP Address: 192.168.1.10", " Subnet Mask: 255.255.255.0",
                           " IP Address: 10.0.0.5", " Subnet Mask: 255.0.0.0",
                           " Default Gateway: 192.168.1.1", " Default Gateway: 192.168.1.254"}),
            Eth0BlockWith({" IP Address: ", " Subnet Mask: ", " Default Gateway: "}),
        }));
    EXPECT_EQ(log.back(), kClosing);
}

TEST(LogIpConfig, LeaseTimeFollowsTheUsersNamesAndSeparator) {
    TestApp t;
    t.clock.timeSeparator = ".";
    EXPECT_EQ(LeaseTimeText(t.app, 0), "Thursday, Jan 1 00.00.00 1970");
    EXPECT_EQ(LeaseTimeText(t.app, 951782400), "Tuesday, Feb 29 00.00.00 2000");
    EXPECT_EQ(LeaseTimeText(t.app, -2147483647 - 1), "Friday, Dec 13 20.45.52 1901");
    // 64-bit Windows writes 64-bit lease times: the far ends still give a date.
    EXPECT_EQ(LeaseTimeText(t.app, INT64_MIN).substr(0, 8), "Sunday, ");
    EXPECT_FALSE(LeaseTimeText(t.app, INT64_MAX).empty());
}

TEST(LogIpConfig, RefusedCallEndsTheReportWithItsLine) {
    const struct {
        const char* what;
        std::function<void(FakeIpHelper&)> arrange;
        Lines after; // the lines after the opening line
    } cases[] = {
        {"network params sizing",
         [](auto& f) { f.paramsSizing = 87; },
         {"GetNetworkParams sizing failed with error 87"}},
        {"network params fetch",
         [](auto& f) { f.paramsFetch = 111; },
         {"GetNetworkParams failed with error 111"}},
        {"network params not bound",
         [](auto& f) { f.missing.insert("iphlpapi_9x!GetNetworkParams"); },
         {"Missing iphlpapi_9x.dll"}},
        {"adapters sizing", [](auto& f) { f.adaptersSizing = 232; },
         Joined({kComputerLines, {"GetAdaptersInfo sizing failed with error 232"}})},
        {"adapters fetch", [](auto& f) { f.adaptersFetch = 8; },
         Joined({kComputerLines, {"GetAdaptersInfo failed with error 8"}})},
        {"no library files", [](auto& f) { f.files.clear(); }, {"Missing iphlpapi_9x.dll"}},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {FakeAdapter{}};
        c.arrange(t.iphlp);
        EXPECT_EQ(Report(t), Joined({{kOpening}, c.after})) << c.what;
    }
}

TEST(LogIpConfig, FunctionsComeFromTheFamilysLibrary) {
    TestApp t;
    t.app.OsCode = OsFamily::Win2000;
    t.iphlp.adapters = {FakeAdapter{}};
    Report(t);
    EXPECT_EQ(t.iphlp.FunctionCalls(),
              (Lines{"iphlpapi_2k!GetNetworkParams", "iphlpapi_2k!GetNetworkParams",
                     "iphlpapi_2k!GetAdaptersInfo", "iphlpapi_2k!GetAdaptersInfo"}));
}

void PutPtr(uint8_t* at, uintptr_t value) {
    std::memcpy(at, &value, sizeof value);
}

// Damaged records end the report where the damage is, without the closing line.
TEST(LogIpConfig, DamagedRecordsEndTheReport) {
    const size_t rec = FakeIpHelper::AdapterInfoSize();
    const size_t ipList = FakeIpHelper::AdapterIpListOffset();
    const struct {
        const char* what;
        std::function<void(uint8_t*, uint32_t)> adapters, params;
        Lines after; // the lines after the opening line: the report up to the damage
    } cases[] = {
        {"address length above 8",
         [&](uint8_t* b, uint32_t) {
             const uint32_t nine = 9;
             std::memcpy(b + rec + FakeIpHelper::AdapterAddressLengthOffset(), &nine, 4);
         },
         nullptr, Joined({kComputerLines, kEth0Block, Head(kEth0Block, 2)})},
        {"second adapter outside the buffer",
         [&](uint8_t* b, uint32_t n) { PutPtr(b, reinterpret_cast<uintptr_t>(b) + n); }, nullptr,
         Joined({kComputerLines, kEth0Block})},
        {"adapter chain loops",
         [&](uint8_t* b, uint32_t) { PutPtr(b + rec, reinterpret_cast<uintptr_t>(b)); }, nullptr,
         Joined({kComputerLines, kEth0Block, kEth0Block})},
        {"address list leaves the buffer",
         [&](uint8_t* b, uint32_t) { PutPtr(b + ipList, reinterpret_cast<uintptr_t>(b) - 1); },
         nullptr, Joined({kComputerLines, Head(kEth0Block, 6)})},
        {"address list loops to its embedded entry",
         [&](uint8_t* b, uint32_t) { PutPtr(b + ipList, reinterpret_cast<uintptr_t>(b) + ipList); },
         nullptr, Joined({kComputerLines, Head(kEth0Block, 6)})},
        {"name server list leaves the buffer", nullptr,
         [&](uint8_t* b, uint32_t n) {
             PutPtr(b + FakeIpHelper::FixedDnsListOffset(),
                    reinterpret_cast<uintptr_t>(b) + n - FakeIpHelper::AddrStringSize() + 4);
         },
         Head(kComputerLines, 2)},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {FakeAdapter{}, FakeAdapter{}};
        t.iphlp.tamperAdapters = c.adapters;
        t.iphlp.tamperParams = c.params;
        EXPECT_EQ(Report(t), Joined({{kOpening}, c.after})) << c.what;
    }
}

} // namespace
} // namespace ww
