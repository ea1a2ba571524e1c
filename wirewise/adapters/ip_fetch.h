#pragma once
// The sizing call and the fetch that every reader of IP Helper records makes.
#include <cstdint>
#include <vector>

#include "adapters/ip_helper.h"
#include "app.h"

namespace ww {

// GetAdaptersInfo or GetNetworkParams: asks for the size, then fills buffer with the records.
// A refused call logs "<function> sizing failed with error N" or "<function> failed with error N";
// a function that can't be bound, or a size that can't be had, logs nothing. True when the
// records are in buffer.
bool FetchIpRecords(App& app, IpFunction function, std::vector<uint8_t>& buffer);

} // namespace ww
