#include "adapters/ipconfig_report.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "adapters/adapter_list.h"
#include "adapters/ip_fetch.h"
#include "adapters/ip_walk.h"
#include "adapters/lease_time.h"
#include "adapters/record_walks.h"
#include "platform/log.h"

namespace ww {
namespace {

struct Labeled {
    uint32_t value;
    const char* line;
};

constexpr std::array<Labeled, 4> kNodeTypes = {{
    {1, "Node type: Broadcast"},
    {2, "Node type: Peer to peer"},
    {4, "Node type: Mixed"},
    {8, "Node type: Hybrid"},
}};
constexpr const char* kUnknownNodeType = "Unknown node type";

// The published interface types of IP Helper.
constexpr std::array<Labeled, 6> kAdapterTypes = {{
    {6, "Adapter name: Ethernet adapter "},
    {9, "Adapter name: Token Ring adapter "},
    {15, "Adapter name: FDDI adapter "},
    {23, "Adapter name: PPP adapter"},
    {24, "Adapter name: Loopback adapter "},
    {28, "Adapter name: Slip adapter "},
}};
constexpr const char* kOtherAdapter = "Adapter name: Other adapter ";

template <size_t N>
const char* LineFor(const std::array<Labeled, N>& table, uint32_t value, const char* otherwise) {
    for (const Labeled& l : table)
        if (l.value == value) return l.line;
    return otherwise;
}

struct FlagLines {
    uint32_t FixedInfoRec::*flag;
    const char* on;
    const char* off;
};

constexpr std::array<FlagLines, 3> kFlags = {{
    {&FixedInfoRec::EnableRouting, "IP Routing Enabled ", "IP Routing not enabled"},
    {&FixedInfoRec::EnableProxy, "WINS Proxy Enabled ", "WINS Proxy not Enabled "},
    {&FixedInfoRec::EnableDns, "NetBIOS Resolution Uses DNS ",
     "NetBIOS Resolution Does not use DNS  "},
}};

constexpr size_t kPhysicalAddressSize = 8;
const std::string kNul(1, '\0');

std::string Trimmed(const char* field, size_t size) {
    return StripNull(FieldText(field, size), kNul);
}

// One line per entry of an embedded list and the entries chained from it; false when the
// chain leaves the buffer or loops.
template <class Write>
bool LogList(const IpRecordBuffer& records, const IpAddrStringRec& first, uintptr_t firstAddress,
             Write write) {
    AddrStringChain chain(records, first, firstAddress);
    while (const auto entry = chain.Next())
        write(*entry);
    return !chain.Failed();
}

} // namespace

bool LogNetworkParamsRecord(App& app, const IpRecordBuffer& records) {
    const auto info = records.ReadAt<FixedInfoRec>(records.base());
    if (!info) return false;

    WriteLog(app, "Host Name:  " + Trimmed(info->HostName, sizeof info->HostName));
    if (!LogList(records, info->DnsServerList,
                 records.base() + offsetof(FixedInfoRec, DnsServerList),
                 [&](const IpAddrStringRec& dns) {
                     WriteLog(app, "DNS Servers:  " + FieldText(dns.IpAddress));
                 }))
        return false;
    WriteLog(app, LineFor(kNodeTypes, info->NodeType, kUnknownNodeType));
    WriteLog(app, "NetBIOS Scope ID:  " + Trimmed(info->ScopeId, sizeof info->ScopeId));
    for (const FlagLines& f : kFlags)
        WriteLog(app, (*info).*f.flag != 0 ? f.on : f.off);
    return true;
}

namespace {

std::string PhysicalAddress(const IpAdapterInfoRec& rec) {
    std::string text;
    for (uint32_t i = 0; i < rec.AddressLength; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", rec.Address[i]);
        if (i > 0) text += '-';
        text += hex;
    }
    return text;
}

// The block of one adapter; false when it can't be written whole.
bool LogAdapter(App& app, const IpRecordBuffer& records, const IpAdapterInfoRec& rec,
                uintptr_t address) {
    WriteLog(app, LineFor(kAdapterTypes, rec.Type, kOtherAdapter));
    WriteLog(app, " AdapterDescription: " + Trimmed(rec.Description, sizeof rec.Description));
    if (rec.AddressLength > kPhysicalAddressSize) return false;
    WriteLog(app, " Physical Address: " + PhysicalAddress(rec));
    WriteLog(app, rec.DhcpEnabled != 0 ? " DHCP Enabled " : " DHCP disabled");
    if (!LogList(records, rec.IpAddressList, address + offsetof(IpAdapterInfoRec, IpAddressList),
                 [&](const IpAddrStringRec& ip) {
                     WriteLog(app, " IP Address: " + FieldText(ip.IpAddress));
                     WriteLog(app, " Subnet Mask: " + FieldText(ip.IpMask));
                 }))
        return false;
    if (!LogList(records, rec.GatewayList, address + offsetof(IpAdapterInfoRec, GatewayList),
                 [&](const IpAddrStringRec& gateway) {
                     WriteLog(app, " Default Gateway: " + FieldText(gateway.IpAddress));
                 }))
        return false;
    WriteLog(app, " DHCP Server: " + FieldText(rec.DhcpServer.IpAddress));
    WriteLog(app, " Primary WINS Server: " + FieldText(rec.PrimaryWinsServer.IpAddress));
    WriteLog(app, " Secondary WINS Server: " + FieldText(rec.SecondaryWinsServer.IpAddress));
    WriteLog(app, " Lease Obtained: " + LeaseTimeText(app, rec.LeaseObtained));
    WriteLog(app, " Lease Expires : " + LeaseTimeText(app, rec.LeaseExpires));
    return true;
}

// Fetches the records of function and runs walk over them; false when either fails.
template <class Walk> bool FetchAndWalk(App& app, IpFunction function, Walk walk) {
    std::vector<uint8_t> buffer;
    if (!FetchIpRecords(app, function, buffer)) return false;
    return walk(app, IpRecordBuffer(buffer.data(), buffer.size()));
}

} // namespace

bool LogAdapterRecords(App& app, const IpRecordBuffer& records) {
    AdapterInfoChain chain(records);
    while (const auto rec = chain.Next())
        if (!LogAdapter(app, records, *rec, chain.Address())) return false;
    return !chain.Failed();
}

void LogIpConfig(App& app) {
    WriteLog(app, " -- Checking status: ipconfig --");
    if (FetchAndWalk(app, IpFunction::GetNetworkParams, LogNetworkParamsRecord) &&
        FetchAndWalk(app, IpFunction::GetAdaptersInfo, LogAdapterRecords))
        WriteLog(app, " -- Ipconfig complete --");
}

} // namespace ww
