#include "adapters/adapter_list.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "adapters/ip_fetch.h"
#include "adapters/ip_walk.h"
#include "adapters/record_walks.h"
#include "common/text.h"
#include "platform/log.h"
#include "seams/iphelper.h"
#include "seams/ui.h"

namespace ww {
namespace {

constexpr const char* kNoAdaptersMessage =
    "No Network adapters were found.\r\n"
    "This program requires at least one adapter to be installed (inc. drivers).\r\n"
    "Please install a network adapter card or the USB network adapter driver.";

const std::string kNul(1, '\0');

} // namespace

// Appends one entry and one row per adapter record until the chain ends, fails or the
// 16-bit count is full; the entries made so far stay whatever ends it.
void AddAdapterEntries(App& app, AdapterBox& box, const IpRecordBuffer& records) {
    AdapterInfoChain chain(records);
    while (app.Adapters.size() <= static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
        const auto rec = chain.Next();
        if (!rec) return;
        AdapterEntry entry;
        entry.DisplayText = StripNull(FieldText(rec->Description), kNul);
        entry.AdapterKey = StripNull(FieldText(rec->AdapterName), kNul);
        if (entry.DisplayText.empty()) entry.DisplayText = entry.AdapterKey;
        entry.IfIndex = static_cast<int32_t>(rec->Index);
        app.Adapters.push_back(entry);
        WriteLog(app, std::to_string(app.Adapters.size() - 1) + ", " + entry.DisplayText);
        box.AddItem(entry.DisplayText);
    }
}

void ListAdapters(App& app, AdapterBox& box) {
    app.Adapters.assign(1, AdapterEntry{});
    // Whatever ends the walk (memory running out included), the entries made so far are kept and
    // the end step runs: the caller never sees the failure.
    try {
        std::vector<uint8_t> buffer;
        if (FetchIpRecords(app, IpFunction::GetAdaptersInfo, buffer))
            AddAdapterEntries(app, box, IpRecordBuffer(buffer.data(), buffer.size()));
    } catch (...) {
    }
    const auto made = static_cast<int16_t>(app.Adapters.size() - 1);
    if (made == 0) {
        WriteLog(app, "No Network adapters found");
        // The user was just told to move the program: a second box would send them to look for a
        // network card instead.
        if (!app.iphlp->toldPathTooLong)
            app.ui->MessageBox(kNoAdaptersMessage, kMbOk | kMbIconHand);
    } else {
        app.SelectedAdapter = 1;
        box.SetListIndex(0);
    }
    app.AdapterCount = made;
}

std::string StripNull(const std::string& text, const std::string& separator) {
    const size_t at = text.find(separator);
    return std::string(corvane::Trim(std::string_view(text).substr(0, at)));
}

} // namespace ww
