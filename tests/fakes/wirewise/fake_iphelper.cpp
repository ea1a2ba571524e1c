#include "fakes/wirewise/fake_iphelper.h"

#include <algorithm>
#include <cstring>

namespace ww::test {
namespace {

// Offsets of the published structures, written out by hand rather than taken from the
// program's own declarations, so that a slip there shows up in the tests.
struct Layout {
    size_t ptr;
    // IP_ADDR_STRING
    size_t asSize, asIp, asMask, asContext;
    // IP_ADAPTER_INFO
    size_t aiSize, aiCombo, aiName, aiDesc, aiAddrLen, aiAddr, aiIndex, aiType, aiDhcp, aiCurrent,
        aiIpList, aiGateway, aiDhcpServer, aiHaveWins, aiPrimary, aiSecondary, aiLeaseObtained,
        aiLeaseExpires, leaseSize;
    // FIXED_INFO
    size_t fiSize, fiHost, fiDomain, fiCurrentDns, fiDnsList, fiNode, fiScope, fiRouting, fiProxy,
        fiDns;
};

constexpr Layout k32 = {4,   40,  4,   20,  36,  640, 4,   8,   268, 400, 404, 412,
                        416, 420, 424, 428, 468, 508, 548, 552, 592, 632, 636, 4,
                        584, 0,   132, 264, 268, 308, 312, 572, 576, 580};
constexpr Layout k64 = {8,   48,  8,   24,  40,  704, 8,   12,  272, 404, 408, 416,
                        420, 424, 432, 440, 488, 536, 584, 592, 640, 688, 696, 8,
                        600, 0,   132, 264, 272, 320, 324, 584, 588, 592};
constexpr const Layout& L = sizeof(void*) == 4 ? k32 : k64;

constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorNoData = 232;

void PutInt(uint8_t* buf, size_t offset, uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i)
        buf[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The text and its NUL, cut to the field (without a NUL when it fills the field).
void PutText(uint8_t* buf, size_t offset, const std::string& text, size_t fieldSize) {
    std::memcpy(buf + offset, text.data(), std::min(text.size(), fieldSize));
}

uint64_t AddressOf(const uint8_t* buf, size_t offset) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(buf) + offset);
}

// Writes one IP_ADDR_STRING at offset whose Next points to next (0 for none).
void PutAddrString(uint8_t* buf, size_t offset, const std::string& ip, const std::string& mask,
                   uint64_t next) {
    PutInt(buf, offset, next, L.ptr);
    PutText(buf, offset + L.asIp, ip, 16);
    PutText(buf, offset + L.asMask, mask, 16);
}

// An embedded list: the first entry at embedded, the others appended at *extra onwards.
void PutList(uint8_t* buf, size_t embedded, const std::vector<FakeIpAddr>& list, size_t* extra) {
    if (list.empty()) return; // an empty list leaves the embedded entry all zero
    PutAddrString(buf, embedded, list[0].ip, list[0].mask, 0);
    size_t prev = embedded;
    for (size_t i = 1; i < list.size(); ++i) {
        PutInt(buf, prev, AddressOf(buf, *extra), L.ptr);
        PutAddrString(buf, *extra, list[i].ip, list[i].mask, 0);
        prev = *extra;
        *extra += L.asSize;
    }
}

std::vector<FakeIpAddr> Plain(const std::vector<std::string>& ips) {
    std::vector<FakeIpAddr> list;
    for (const auto& ip : ips)
        list.push_back({ip, ""});
    return list;
}

size_t Extras(size_t count) {
    return count > 1 ? count - 1 : 0;
}

} // namespace

size_t FakeIpHelper::AdapterInfoSize() {
    return L.aiSize;
}
size_t FakeIpHelper::AddrStringSize() {
    return L.asSize;
}
size_t FakeIpHelper::FixedInfoSize() {
    return L.fiSize;
}
size_t FakeIpHelper::AdapterAddressLengthOffset() {
    return L.aiAddrLen;
}
size_t FakeIpHelper::AdapterIpListOffset() {
    return L.aiIpList;
}
size_t FakeIpHelper::FixedDnsListOffset() {
    return L.fiDnsList;
}

IpHelper::Module FakeIpHelper::LoadLibraryFile(const std::string& fullPath) {
    calls.push_back("load " + fullPath);
    if (!files.count(fullPath)) return 0;
    auto it = std::find(loaded_.begin(), loaded_.end(), fullPath);
    if (it == loaded_.end()) it = loaded_.insert(loaded_.end(), fullPath);
    return static_cast<Module>(it - loaded_.begin() + 1);
}

IpHelper::Proc FakeIpHelper::ProcAddress(Module module, const char* name) {
    if (module == 0 || module > loaded_.size()) return 0;
    const std::string& path = loaded_[module - 1];
    const std::string library =
        path.substr(path.find_last_of('\\') + 1, path.size() - path.find_last_of('\\') - 5);
    calls.push_back("bind " + library + "!" + name);
    for (int f = 0; f < 5; ++f) {
        if (std::strcmp(kFunctions[f], name) == 0 && !missing.count(library + "!" + name))
            return static_cast<Proc>(module * 16 + static_cast<Module>(f));
    }
    return 0;
}

std::string FakeIpHelper::Called(Proc fn, int function) {
    const Module module = fn / 16;
    std::string name = "?";
    if (module >= 1 && module <= loaded_.size() && static_cast<int>(fn % 16) == function) {
        const std::string& path = loaded_[module - 1];
        const size_t slash = path.find_last_of('\\');
        name = path.substr(slash + 1, path.size() - slash - 5);
    }
    name += std::string("!") + kFunctions[function];
    calls.push_back(name);
    return name;
}

std::vector<std::string> FakeIpHelper::FunctionCalls() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind("load ", 0) != 0 && c.rfind("bind ", 0) != 0) out.push_back(c);
    return out;
}

uint32_t FakeIpHelper::GetAdaptersInfo(Proc fn, void* buffer, uint32_t* size) {
    Called(fn, 0);
    const bool sizing = buffer == nullptr || *size == 0;
    if (sizing && adaptersSizing) return *adaptersSizing;
    if (!sizing && adaptersFetch) return *adaptersFetch;
    if (adapters.empty()) return kErrorNoData;

    size_t extras = 0;
    for (const auto& a : adapters)
        extras += Extras(a.ips.size()) + Extras(a.gateways.size());
    const size_t needed = adapters.size() * L.aiSize + extras * L.asSize;
    if (*size < needed) {
        *size = static_cast<uint32_t>(needed);
        return kErrorBufferOverflow;
    }
    if (buffer == nullptr) return kErrorInvalidParameter;

    auto* buf = static_cast<uint8_t*>(buffer);
    std::memset(buf, 0, needed);
    size_t extra = adapters.size() * L.aiSize;
    for (size_t i = 0; i < adapters.size(); ++i) {
        const FakeAdapter& a = adapters[i];
        const size_t at = i * L.aiSize;
        const bool last = i + 1 == adapters.size();
        PutInt(buf, at, last ? 0 : AddressOf(buf, at + L.aiSize), L.ptr);
        PutInt(buf, at + L.aiCombo, static_cast<uint32_t>(a.index), 4);
        PutText(buf, at + L.aiName, a.name, 260);
        PutText(buf, at + L.aiDesc, a.description, 132);
        PutInt(buf, at + L.aiAddrLen,
               a.addressLength.value_or(static_cast<uint32_t>(a.address.size())), 4);
        PutText(buf, at + L.aiAddr, std::string(a.address.begin(), a.address.end()), 8);
        PutInt(buf, at + L.aiIndex, static_cast<uint32_t>(a.index), 4);
        PutInt(buf, at + L.aiType, a.type, 4);
        PutInt(buf, at + L.aiDhcp, a.dhcpEnabled, 4);
        PutInt(buf, at + L.aiCurrent, 0, L.ptr);
        PutList(buf, at + L.aiIpList, a.ips, &extra);
        PutList(buf, at + L.aiGateway, Plain(a.gateways), &extra);
        PutAddrString(buf, at + L.aiDhcpServer, a.dhcpServer, "", 0);
        PutInt(buf, at + L.aiHaveWins, a.primaryWins.empty() ? 0 : 1, 4);
        PutAddrString(buf, at + L.aiPrimary, a.primaryWins, "", 0);
        PutAddrString(buf, at + L.aiSecondary, a.secondaryWins, "", 0);
        PutInt(buf, at + L.aiLeaseObtained, static_cast<uint64_t>(a.leaseObtained), L.leaseSize);
        PutInt(buf, at + L.aiLeaseExpires, static_cast<uint64_t>(a.leaseExpires), L.leaseSize);
    }
    if (tamperAdapters) tamperAdapters(buf, *size);
    return 0;
}

uint32_t FakeIpHelper::GetNetworkParams(Proc fn, void* buffer, uint32_t* size) {
    Called(fn, 1);
    const bool sizing = buffer == nullptr || *size == 0;
    if (sizing && paramsSizing) return *paramsSizing;
    if (!sizing && paramsFetch) return *paramsFetch;

    const size_t needed = L.fiSize + Extras(params.dnsServers.size()) * L.asSize;
    if (*size < needed) {
        *size = static_cast<uint32_t>(needed);
        return kErrorBufferOverflow;
    }
    if (buffer == nullptr) return kErrorInvalidParameter;

    auto* buf = static_cast<uint8_t*>(buffer);
    std::memset(buf, 0, needed);
    PutText(buf, L.fiHost, params.hostName, 132);
    PutText(buf, L.fiDomain, params.domainName, 132);
    PutInt(buf, L.fiCurrentDns, params.dnsServers.empty() ? 0 : AddressOf(buf, L.fiDnsList), L.ptr);
    size_t extra = L.fiSize;
    PutList(buf, L.fiDnsList, Plain(params.dnsServers), &extra);
    PutInt(buf, L.fiNode, params.nodeType, 4);
    PutText(buf, L.fiScope, params.scopeId, 260);
    PutInt(buf, L.fiRouting, params.enableRouting, 4);
    PutInt(buf, L.fiProxy, params.enableProxy, 4);
    PutInt(buf, L.fiDns, params.enableDns, 4);
    if (tamperParams) tamperParams(buf, *size);
    return 0;
}

uint32_t FakeIpHelper::GetInterfaceInfo(Proc fn, void* buffer, uint32_t* size) {
    Called(fn, 2);
    const bool sizing = buffer == nullptr || *size == 0;
    if (sizing && interfaceSizing) return *interfaceSizing;
    if (!sizing && interfaceFetch) return *interfaceFetch;

    const size_t needed = 4 + 260 * interfaces.size();
    if (*size < needed) {
        *size = static_cast<uint32_t>(needed);
        return kErrorInsufficientBuffer;
    }
    if (buffer == nullptr) return kErrorInvalidParameter;

    auto* buf = static_cast<uint8_t*>(buffer);
    std::memset(buf, 0, needed);
    PutInt(buf, 0, interfaces.size(), 4);
    for (size_t i = 0; i < interfaces.size(); ++i) {
        const size_t at = 4 + 260 * i;
        PutInt(buf, at, static_cast<uint32_t>(interfaces[i].index), 4);
        const size_t chars = std::min<size_t>(interfaces[i].name.size(), 128);
        for (size_t c = 0; c < chars; ++c)
            PutInt(buf, at + 4 + 2 * c, interfaces[i].name[c], 2);
    }
    return 0;
}

uint32_t FakeIpHelper::IpReleaseAddress(Proc fn, void* adapterIndexMap) {
    Called(fn, 3);
    const auto* rec = static_cast<const uint8_t*>(adapterIndexMap);
    released.emplace_back(rec, rec + 260);
    const uint32_t r = releaseResults.empty() ? 0 : releaseResults.front();
    if (!releaseResults.empty()) releaseResults.pop_front();
    lastError_ = lastErrorAfterLease;
    return r;
}

uint32_t FakeIpHelper::IpRenewAddress(Proc fn, void* adapterIndexMap) {
    Called(fn, 4);
    const auto* rec = static_cast<const uint8_t*>(adapterIndexMap);
    renewed.emplace_back(rec, rec + 260);
    const uint32_t r = renewResults.empty() ? 0 : renewResults.front();
    if (!renewResults.empty()) renewResults.pop_front();
    lastError_ = lastErrorAfterLease;
    return r;
}

} // namespace ww::test
