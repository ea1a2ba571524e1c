#pragma once
// IP Helper in memory. Loadable library files and their exports are listed per test; the fetch
// calls lay their records out in the caller's buffer byte for byte as the published structures
// for this build's pointer size, written field by field at the published offsets, chained
// through real addresses inside that buffer.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "seams/iphelper.h"

namespace ww::test {

struct FakeIpAddr {
    std::string ip;
    std::string mask;
};

struct FakeAdapter {
    std::string name = "{00000004-0000-0000-0000-4E6574446576}";
    std::string description = "eth0";
    std::vector<uint8_t> address = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::optional<uint32_t> addressLength; // written instead of address.size() when set
    int32_t index = 4;
    uint32_t type = 6;
    uint32_t dhcpEnabled = 1;
    std::vector<FakeIpAddr> ips = {{"192.168.1.10", "255.255.255.0"}}; // first one embedded
    std::vector<std::string> gateways = {"192.168.1.1"};               // first one embedded
    std::string dhcpServer, primaryWins, secondaryWins;
    int64_t leaseObtained = 0, leaseExpires = 0;
};

struct FakeNetworkParams {
    std::string hostName = "PC1";
    std::string domainName;
    std::vector<std::string> dnsServers = {"192.168.1.1"}; // first one embedded
    uint32_t nodeType = 8;
    std::string scopeId;
    uint32_t enableRouting = 0, enableProxy = 0, enableDns = 0;
};

struct FakeInterface {
    int32_t index = 4;
    std::u16string name = u"\\DEVICE\\TCPIP_{00000004-0000-0000-0000-4E6574446576}";
};

class FakeIpHelper final : public IpHelper {
  public:
    static constexpr const char* kFunctions[] = {"GetAdaptersInfo", "GetNetworkParams",
                                                 "GetInterfaceInfo", "IpReleaseAddress",
                                                 "IpRenewAddress"};

    // Files that load, by full path; each exports all five functions unless listed in missing.
    std::set<std::string> files = {"C:\\Tools\\iphlpapi_9x.dll", "C:\\Tools\\iphlpapi_2k.dll",
                                   "C:\\Tools\\iphlpapi_xp.dll"};
    std::set<std::string> missing; // "iphlpapi_xp!GetAdaptersInfo"

    std::vector<FakeAdapter> adapters;
    FakeNetworkParams params;
    std::vector<FakeInterface> interfaces;

    // Results forced on a call, which then fills nothing.
    std::optional<uint32_t> adaptersSizing, adaptersFetch, paramsSizing, paramsFetch,
        interfaceSizing, interfaceFetch;
    // Results of the lease calls in turn (0 once used up), with the last error each leaves.
    std::deque<uint32_t> releaseResults, renewResults;
    uint32_t lastErrorAfterLease = 0;
    // Runs over the laid-out buffer after a successful fetch, to damage the records.
    std::function<void(uint8_t*buffer, uint32_t size)> tamperAdapters, tamperParams;

    // Every call in order: "load C:\Tools\iphlpapi_9x.dll", "bind iphlpapi_9x!GetAdaptersInfo",
    // "iphlpapi_9x!GetAdaptersInfo".
    std::vector<std::string> calls;
    std::vector<std::vector<uint8_t>> released, renewed; // the index-map records passed

    Module LoadLibraryFile(const std::string& fullPath) override;
    Proc ProcAddress(Module module, const char* name) override;
    uint32_t GetAdaptersInfo(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t GetNetworkParams(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t GetInterfaceInfo(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t IpReleaseAddress(Proc fn, void* adapterIndexMap) override;
    uint32_t IpRenewAddress(Proc fn, void* adapterIndexMap) override;
    uint32_t LastError() override { return lastError_; }

    // The calls that reached a function (not load or bind), e.g. "iphlpapi_xp!GetAdaptersInfo".
    std::vector<std::string> FunctionCalls() const;

    // Byte sizes and offsets of the published layouts for this pointer size.
    static size_t AdapterInfoSize();
    static size_t AddrStringSize();
    static size_t FixedInfoSize();
    static size_t AdapterNextOffset() { return 0; }
    static size_t AdapterAddressLengthOffset();
    static size_t AdapterIpListOffset();
    static size_t FixedDnsListOffset();

  private:
    std::string Called(Proc fn, int function);

    std::vector<std::string> loaded_; // module m is loaded_[m - 1]
    uint32_t lastError_ = 0;
};

} // namespace ww::test
