#include "adapters/adapter_address.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "adapters/ip_fetch.h"

namespace ww {
namespace {

// The four numbers of a dotted IPv4 text; nothing for any other text.
std::optional<std::array<unsigned, 4>> Octets(const std::string& dotted) {
    std::array<unsigned, 4> octets{};
    size_t at = 0;
    for (size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) {
            if (at >= dotted.size() || dotted[at] != '.') return std::nullopt;
            ++at;
        }
        const size_t start = at;
        unsigned value = 0;
        while (at < dotted.size() && at - start < 3 && dotted[at] >= '0' && dotted[at] <= '9')
            value = value * 10 + static_cast<unsigned>(dotted[at++] - '0');
        if (at == start || value > 255) return std::nullopt;
        octets[i] = value;
    }
    if (at != dotted.size()) return std::nullopt;
    return octets;
}

} // namespace

bool IsRouterAddress(const std::string& dotted) {
    const auto octets = Octets(dotted);
    if (!octets) return false;
    const auto& o = *octets;
    if (o[0] == 0 && o[1] == 0 && o[2] == 0 && o[3] == 0) return false;
    return !(o[0] == 169 && o[1] == 254);
}

bool AdapterRecordsHoldRouterAddress(const IpRecordBuffer& records, int32_t ifIndex) {
    AdapterInfoChain adapters(records);
    while (const auto rec = adapters.Next()) {
        if (static_cast<int32_t>(rec->Index) != ifIndex) continue;
        AddrStringChain addresses(records, rec->IpAddressList,
                                  adapters.Address() + offsetof(IpAdapterInfoRec, IpAddressList));
        while (const auto ip = addresses.Next())
            if (IsRouterAddress(FieldText(ip->IpAddress))) return true;
    }
    return false;
}

bool AdapterHasRouterAddress(App& app, int32_t ifIndex) {
    std::vector<uint8_t> buffer;
    if (!FetchIpRecords(app, IpFunction::GetAdaptersInfo, buffer)) return false;
    return AdapterRecordsHoldRouterAddress(IpRecordBuffer(buffer.data(), buffer.size()), ifIndex);
}

} // namespace ww
