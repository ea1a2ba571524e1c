#pragma once
// Switching an NT-family adapter to DHCP through WMI.
#include "app.h"

namespace ww {

// Calls EnableDHCP, SetDNSServerSearchOrder, SetDNSDomain and (renewLease) ReleaseDHCPLease and
// RenewDHCPLease on every Win32_NetworkAdapterConfiguration whose Description is the adapter's
// DisplayText, ignoring case; when none is, on those whose SettingID is its AdapterKey. Logs each
// outcome. True when at least one instance matched and every call made returned 0. WMI that
// cannot be reached, queried or called raises EngineFailure.
bool ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease);

} // namespace ww
