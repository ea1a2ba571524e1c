#pragma once
// The five IP Helper functions, each bound by name at its first call from the library file
// beside the program that the Windows family calls for. A file or function that can't be bound
// gives no status at all (the log names the missing file once): the caller decides what that
// failure means for it.
#include <cstdint>
#include <optional>
#include <string>

#include "app.h"

namespace ww {

enum class IpFunction {
    GetAdaptersInfo,
    GetNetworkParams,
    GetInterfaceInfo,
    IpReleaseAddress,
    IpRenewAddress
};

// Library file name without extension ("iphlpapi_9x", "iphlpapi_2k", "iphlpapi_xp").
std::string IpHelperLibrary(IpFunction function, OsFamily os);

namespace iphlp {

// Each gives the function's own result, or nothing when it could not be bound.
std::optional<uint32_t> GetAdaptersInfo(App& app, void* buffer, uint32_t* size);
std::optional<uint32_t> GetNetworkParams(App& app, void* buffer, uint32_t* size);
std::optional<uint32_t> GetInterfaceInfo(App& app, void* buffer, uint32_t* size);
std::optional<uint32_t> IpReleaseAddress(App& app, void* adapterIndexMap);
std::optional<uint32_t> IpRenewAddress(App& app, void* adapterIndexMap);
// The system's last-error code taken right after the latest bound call.
uint32_t LastError(App& app);

} // namespace iphlp
} // namespace ww
