#pragma once
// The walks over records IP Helper has already filled in, apart from the calls that fetch them,
// so that they can also be driven over arbitrary bytes.
#include "adapters/adapter_box.h"
#include "adapters/ip_walk.h"
#include "app.h"

namespace ww {

// One entry, row and log line per IP_ADAPTER_INFO record (the adapter list).
void AddAdapterEntries(App& app, AdapterBox& box, const IpRecordBuffer& records);
// The computer-wide lines from a FIXED_INFO; false when the report must end.
bool LogNetworkParamsRecord(App& app, const IpRecordBuffer& records);
// One block per IP_ADAPTER_INFO record; false when the report must end.
bool LogAdapterRecords(App& app, const IpRecordBuffer& records);

} // namespace ww
