#include "engine/wmi_reset.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/failure.h"
#include "platform/ascii_case.h"
#include "platform/log.h"
#include "seams/wmi.h"

namespace ww {
namespace {

struct MethodStep {
    const char* method;
    bool domainArgument; // called with the empty domain text; the others without arguments
    bool renewOnly;
    const char* successLine;
    const char* failurePrefix;
};

constexpr std::array<MethodStep, 5> kSteps = {{
    {"EnableDHCP", false, false, "IP on auto", "EnableDHCP = "},
    {"SetDNSServerSearchOrder", false, false, "DNS on auto", "SetDNSServerSearchOrder = "},
    {"SetDNSDomain", true, false, "DNS domains reset", "SetDNSDomain = "},
    {"ReleaseDHCPLease", false, true, "Releasing DHCP Lease", "DHCP Release = "},
    {"RenewDHCPLease", false, true, "Renewing DHCP Lease", "DHCP Renew = "},
}};

// Columns of the query's rows.
constexpr size_t kDescription = 0;
constexpr size_t kSettingId = 1;

// The instances whose property (upper-cased) is the wanted text. A null property equals no
// text at all, not even an adapter's empty one.
std::vector<size_t> Matching(const std::vector<WmiRow>& rows, size_t column,
                             const std::string& wanted) {
    std::vector<size_t> found;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::optional<std::string>& value =
            column < rows[i].size() ? rows[i][column] : std::nullopt;
        if (value && UpperAscii(*value) == wanted) found.push_back(i);
    }
    return found;
}

void Check(HResult hr, const char* what) {
    if (ComFailed(hr)) throw EngineFailure(std::string(what) + " failed");
}

} // namespace

bool ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease) {
    std::unique_ptr<WmiService> service;
    Check(app.wmi->ConnectServer("root\\cimv2", &service), "WMI connection");
    if (!service) throw EngineFailure("WMI connection failed");
    std::vector<WmiRow> rows;
    Check(service->ExecQuery("Select * From Win32_NetworkAdapterConfiguration",
                             {"Description", "SettingID"}, &rows),
          "WMI query");

    // IP Helper's description often differs from WMI's (a packet scheduler's suffix, for one);
    // the adapter's GUID, which WMI keeps as SettingID, then names the instance instead.
    std::vector<size_t> matches = Matching(rows, kDescription, UpperAscii(adapter.DisplayText));
    if (matches.empty() && !adapter.AdapterKey.empty())
        matches = Matching(rows, kSettingId, UpperAscii(adapter.AdapterKey));

    int failed = 0;
    for (const size_t i : matches) {
        for (const MethodStep& step : kSteps) {
            if (step.renewOnly && !renewLease) continue;
            std::vector<WmiArg> args;
            if (step.domainArgument) args.push_back({"DNSDomain", ""});
            uint32_t returnValue = 0;
            Check(service->ExecMethod(i, step.method, args, &returnValue), step.method);
            // Logged as the signed 16-bit number the method's result is taken as.
            const auto r = static_cast<int16_t>(returnValue);
            if (returnValue == 0) {
                WriteLog(app, step.successLine);
            } else {
                ++failed;
                WriteLog(app, step.failurePrefix + std::to_string(r));
            }
        }
    }
    return !matches.empty() && failed == 0;
}

} // namespace ww
