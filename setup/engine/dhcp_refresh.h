#pragma once
// DHCP release and renew through IP Helper, as the Windows 9x road does it.
#include <cstdint>

#include "app.h"

namespace ww {

// Releases and renews the lease of the interface ifIndex under the hourglass; true only when
// both succeeded.
bool RefreshDhcp(App& app, int32_t ifIndex);
// One lease operation on every interface whose index is ifIndex; true when the last one made
// succeeded. A failed call shows its error box and the walk goes on.
bool ReleaseDhcp(App& app, int32_t ifIndex);
bool RenewDhcp(App& app, int32_t ifIndex);

} // namespace ww
