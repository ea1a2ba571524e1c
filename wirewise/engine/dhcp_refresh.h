#pragma once
// DHCP release and renew through IP Helper, as the Windows 9x road does it.
#include <cstdint>

#include "app.h"
#include "engine/switch_outcome.h"

namespace ww {

// Releases and renews the lease of the interface ifIndex under the hourglass. Done when the
// renewal succeeded, or when it failed but the adapter holds an address from the router all the
// same; otherwise no address yet (the adapter is switched in the registry whatever happens here).
SwitchOutcome RefreshDhcp(App& app, int32_t ifIndex);
// One lease operation on every interface whose index is ifIndex; true when the last one made
// succeeded. A failed call shows its error box and the walk goes on.
bool ReleaseDhcp(App& app, int32_t ifIndex);
bool RenewDhcp(App& app, int32_t ifIndex);

} // namespace ww
