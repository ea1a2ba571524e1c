#include "engine/wmi_reset.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/failure.h"
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

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void Check(HResult hr, const char* what) {
    if (ComFailed(hr)) throw EngineFailure(std::string(what) + " failed");
}

} // namespace

bool ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease) {
    std::unique_ptr<WmiService> service;
    Check(app.wmi->ConnectServer("root\\cimv2", &service), "WMI connection");
    if (!service) throw EngineFailure("WMI connection failed");
    std::vector<std::optional<std::string>> descriptions;
    Check(service->ExecQuery("Select * From Win32_NetworkAdapterConfiguration", "Description",
                             &descriptions),
          "WMI query");

    const std::string wanted = Upper(adapter.DisplayText);
    int matched = 0;
    int failed = 0;
    for (size_t i = 0; i < descriptions.size(); ++i) {
        // A null description equals no text at all, not even an adapter's empty one.
        if (!descriptions[i] || Upper(*descriptions[i]) != wanted) continue;
        ++matched;
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
    return matched > 0 && failed == 0;
}

} // namespace ww
