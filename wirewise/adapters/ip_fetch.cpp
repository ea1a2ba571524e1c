#include "adapters/ip_fetch.h"

#include <new>
#include <optional>
#include <string>

#include "platform/log.h"
#include "seams/iphelper.h"

namespace ww {
namespace {

std::optional<uint32_t> Call(App& app, IpFunction function, void* buffer, uint32_t* size) {
    return function == IpFunction::GetNetworkParams ? iphlp::GetNetworkParams(app, buffer, size)
                                                    : iphlp::GetAdaptersInfo(app, buffer, size);
}

const char* NameOf(IpFunction function) {
    return function == IpFunction::GetNetworkParams ? "GetNetworkParams" : "GetAdaptersInfo";
}

} // namespace

bool FetchIpRecords(App& app, IpFunction function, std::vector<uint8_t>& buffer) {
    uint32_t size = 0;
    const std::optional<uint32_t> sized = Call(app, function, nullptr, &size);
    if (!sized) return false;
    if (*sized != 0 && *sized != kErrorBufferOverflow) {
        WriteLog(app, std::string(NameOf(function)) + " sizing failed with error " +
                          std::to_string(*sized));
        return false;
    }
    try {
        buffer.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::optional<uint32_t> fetched = Call(app, function, buffer.data(), &size);
    if (!fetched) return false;
    if (*fetched != 0) {
        WriteLog(app,
                 std::string(NameOf(function)) + " failed with error " + std::to_string(*fetched));
        return false;
    }
    return true;
}

} // namespace ww
