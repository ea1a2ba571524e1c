#pragma once
// Switching an NT-family adapter to DHCP through WMI.
#include "app.h"
#include "engine/switch_outcome.h"

namespace ww {

// Calls EnableDHCP, SetDNSServerSearchOrder, SetDNSDomain and (renewLease) ReleaseDHCPLease and
// RenewDHCPLease on every Win32_NetworkAdapterConfiguration whose Description is the adapter's
// DisplayText, ignoring case; when none is, on those whose SettingID is its AdapterKey. Logs each
// answer; an answer of 94 or 2147786788 (the configuration busy) is retried up to three times,
// 2 s apart. 0 and 1 are done (1 once Windows restarts); a failed release does not count; a
// failed renewal leaves the adapter's own address to decide between done and no address yet.
// Failed when no instance matched or a switching method failed. WMI that cannot be reached,
// queried or called raises EngineFailure.
SwitchOutcome ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease);

} // namespace ww
