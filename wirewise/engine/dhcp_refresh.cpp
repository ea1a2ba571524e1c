#include "engine/dhcp_refresh.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "adapters/adapter_address.h"
#include "adapters/ip_helper.h"
#include "engine/failure.h"
#include "platform/log.h"
#include "seams/iphelper.h"
#include "seams/ui.h"

namespace ww {
namespace {

// IP_INTERFACE_INFO: a 32-bit count, then IP_ADAPTER_INDEX_MAP records of a 32-bit index and a
// 128-character UTF-16 name.
constexpr size_t kCountSize = 4;
constexpr size_t kIndexMapSize = 260;

enum class Lease { Release, Renew };

uint32_t Bound(std::optional<uint32_t> result) {
    // A library file or function that can't be bound is no answer this road can go on from.
    if (!result) throw EngineFailure("IP Helper function not available");
    return *result;
}

bool LeaseOperation(App& app, int32_t ifIndex, Lease lease) {
    uint32_t size = 0;
    if (Bound(iphlp::GetInterfaceInfo(app, nullptr, &size)) != kErrorInsufficientBuffer)
        return false;
    std::vector<uint8_t> buffer(size);
    if (Bound(iphlp::GetInterfaceInfo(app, buffer.data(), &size)) != 0) return false;

    int32_t count = 0;
    if (buffer.size() >= kCountSize) std::memcpy(&count, buffer.data(), kCountSize);
    bool result = false;
    // Only the records that lie inside what was fetched are visited.
    for (int32_t n = 0; n < count; ++n) {
        const size_t offset = kCountSize + kIndexMapSize * static_cast<size_t>(n);
        if (offset + kIndexMapSize > buffer.size()) break;
        uint8_t* record = buffer.data() + offset;
        int32_t index = 0;
        std::memcpy(&index, record, sizeof index);
        if (index != ifIndex) continue;
        const uint32_t status = Bound(lease == Lease::Release ? iphlp::IpReleaseAddress(app, record)
                                                              : iphlp::IpRenewAddress(app, record));
        const uint32_t lastError = iphlp::LastError(app);
        result = status == 0;
        if (status != 0) {
            const char* prefix =
                lease == Lease::Release ? "ReleaseIP error " : "IpRenewAddress error ";
            app.ui->MessageBox(
                prefix + std::to_string(status) + ", Err# is " + std::to_string(lastError), kMbOk);
        }
    }
    return result;
}

} // namespace

bool ReleaseDhcp(App& app, int32_t ifIndex) {
    return LeaseOperation(app, ifIndex, Lease::Release);
}

bool RenewDhcp(App& app, int32_t ifIndex) {
    return LeaseOperation(app, ifIndex, Lease::Renew);
}

SwitchOutcome RefreshDhcp(App& app, int32_t ifIndex) {
    const WaitCursor hourglass(*app.ui);
    // An adapter that had a fixed address has no lease to give back: only the renewal counts.
    if (ReleaseDhcp(app, ifIndex)) WriteLog(app, "Released DHCP");
    if (RenewDhcp(app, ifIndex)) {
        WriteLog(app, "Renewed DHCP");
        return SwitchOutcome::Done;
    }
    return AdapterHasRouterAddress(app, ifIndex) ? SwitchOutcome::Done
                                                 : SwitchOutcome::NoAddressYet;
}

} // namespace ww
