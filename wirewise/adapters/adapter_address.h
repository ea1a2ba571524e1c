#pragma once
// Whether an adapter holds an address it can reach the router with, as IP Helper lists it.
#include <cstdint>
#include <string>

#include "adapters/ip_walk.h"
#include "app.h"

namespace ww {

// An IPv4 address in dotted text that the router may have handed out: neither 0.0.0.0 (none)
// nor one of 169.254.x.x (what Windows picks for itself when no DHCP server answered).
bool IsRouterAddress(const std::string& dotted);

// True when the adapter record with interface index ifIndex lists an address that
// IsRouterAddress accepts. Records that leave the buffer end the walk with what was found.
bool AdapterRecordsHoldRouterAddress(const IpRecordBuffer& records, int32_t ifIndex);

// The same over a fresh GetAdaptersInfo; false when the adapters can't be had.
bool AdapterHasRouterAddress(App& app, int32_t ifIndex);

} // namespace ww
