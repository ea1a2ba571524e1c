#pragma once
// IP Helper records as the published headers lay them out for this build's pointer size.
// Pointer fields are kept as pointer-sized integers: they are addresses inside the buffer that
// a fetch filled and are only ever checked against that buffer, never followed as they stand.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace ww {

using IpPtr = uintptr_t;
// 32-bit Windows writes the lease times as a 32-bit time_t, 64-bit Windows as a 64-bit one.
using IpLeaseTime = std::conditional_t<sizeof(void*) == 4, int32_t, int64_t>;

// IP_ADDR_STRING
struct IpAddrStringRec {
    IpPtr Next;
    char IpAddress[16];
    char IpMask[16];
    uint32_t Context;
};

// IP_ADAPTER_INFO
struct IpAdapterInfoRec {
    IpPtr Next;
    uint32_t ComboIndex;
    char AdapterName[260];
    char Description[132];
    uint32_t AddressLength;
    uint8_t Address[8];
    uint32_t Index;
    uint32_t Type;
    uint32_t DhcpEnabled;
    IpPtr CurrentIpAddress;
    IpAddrStringRec IpAddressList;
    IpAddrStringRec GatewayList;
    IpAddrStringRec DhcpServer;
    int32_t HaveWins;
    IpAddrStringRec PrimaryWinsServer;
    IpAddrStringRec SecondaryWinsServer;
    IpLeaseTime LeaseObtained;
    IpLeaseTime LeaseExpires;
};

// FIXED_INFO
struct FixedInfoRec {
    char HostName[132];
    char DomainName[132];
    IpPtr CurrentDnsServer;
    IpAddrStringRec DnsServerList;
    uint32_t NodeType;
    char ScopeId[260];
    uint32_t EnableRouting;
    uint32_t EnableProxy;
    uint32_t EnableDns;
};

// IP_ADAPTER_INDEX_MAP; IP_INTERFACE_INFO is a 32-bit count followed by that many of them.
struct IpAdapterIndexMapRec {
    uint32_t Index;
    char16_t Name[128];
};
inline constexpr size_t kInterfaceInfoCountSize = 4;

inline constexpr bool kIp32 = sizeof(void*) == 4;
static_assert(sizeof(IpAddrStringRec) == (kIp32 ? 40 : 48));
static_assert(offsetof(IpAdapterInfoRec, AddressLength) == (kIp32 ? 400 : 404));
static_assert(offsetof(IpAdapterInfoRec, IpAddressList) == (kIp32 ? 428 : 440));
static_assert(offsetof(IpAdapterInfoRec, PrimaryWinsServer) == (kIp32 ? 552 : 592));
static_assert(offsetof(IpAdapterInfoRec, LeaseObtained) == (kIp32 ? 632 : 688));
static_assert(sizeof(IpAdapterInfoRec) == (kIp32 ? 640 : 704));
static_assert(offsetof(FixedInfoRec, DnsServerList) == (kIp32 ? 268 : 272));
static_assert(offsetof(FixedInfoRec, EnableDns) == (kIp32 ? 580 : 592));
static_assert(sizeof(FixedInfoRec) == (kIp32 ? 584 : 600));
static_assert(sizeof(IpAdapterIndexMapRec) == 260);

} // namespace ww
