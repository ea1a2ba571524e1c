#pragma once
// Switching an NT-family adapter to DHCP through WMI.
#include "app.h"
#include "engine/switch_outcome.h"

namespace ww {

// Calls EnableDHCP, SetDNSServerSearchOrder, SetDNSDomain and (renewLease) ReleaseDHCPLease and
// RenewDHCPLease on the one Win32_NetworkAdapterConfiguration whose SettingID is the adapter's
// AdapterKey, ignoring case; when no instance has it, on the one whose Description is its
// DisplayText. Where that names none or several, nothing is called: "Adapters matched = N" and
// Failed. Logs each answer; an answer of 94 or 2147786788 (the configuration busy) is retried up
// to three times, 2 s apart. 0 and 1 are done (1 once Windows restarts); a failed release does
// not count; a failed renewal leaves the adapter's own address to decide between done and no
// address yet. Failed also when a switching method failed. WMI that cannot be reached, queried or
// called raises EngineFailure.
SwitchOutcome ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease);

} // namespace ww
