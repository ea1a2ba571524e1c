#include "engine/wmi_reset.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/adapter_address.h"
#include "engine/failure.h"
#include "platform/ascii_case.h"
#include "platform/log.h"
#include "seams/system.h"
#include "seams/wmi.h"

namespace ww {
namespace {

// The switch itself, or the lease that only a renewal asks for.
enum class Lease { None, Release, Renew };

struct MethodStep {
    const char* method;
    bool domainArgument; // called with the empty domain text; the others without arguments
    Lease lease;
    const char* successLine;
    const char* failurePrefix;
};

constexpr std::array<MethodStep, 5> kSteps = {{
    {"EnableDHCP", false, Lease::None, "IP on auto", "EnableDHCP = "},
    {"SetDNSServerSearchOrder", false, Lease::None, "DNS on auto", "SetDNSServerSearchOrder = "},
    {"SetDNSDomain", true, Lease::None, "DNS domains reset", "SetDNSDomain = "},
    {"ReleaseDHCPLease", false, Lease::Release, "Releasing DHCP Lease", "DHCP Release = "},
    {"RenewDHCPLease", false, Lease::Renew, "Renewing DHCP Lease", "DHCP Renew = "},
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

// What the methods answer: 0 done, 1 done once Windows restarts. Two answers mean that the
// configuration was busy for a moment; such a call is worth making again.
constexpr uint32_t kDone = 0;
constexpr uint32_t kDoneAfterRestart = 1;
constexpr uint32_t kInterfaceLocked = 94;
constexpr uint32_t kWriteLockNotEnabled = 2147786788u;
constexpr int kRetries = 3;
constexpr uint32_t kRetryPauseMs = 2000;

bool Succeeded(uint32_t returnValue) {
    return returnValue == kDone || returnValue == kDoneAfterRestart;
}

bool Transient(uint32_t returnValue) {
    return returnValue == kInterfaceLocked || returnValue == kWriteLockNotEnabled;
}

// One method, called again while its answer is a transient one; every answer logged.
uint32_t CallStep(App& app, WmiService& service, size_t instance, const MethodStep& step) {
    std::vector<WmiArg> args;
    if (step.domainArgument) args.push_back({"DNSDomain", ""});
    for (int attempt = 0;; ++attempt) {
        uint32_t returnValue = 0;
        Check(service.ExecMethod(instance, step.method, args, &returnValue), step.method);
        // 1 keeps its number in the log: it tells support that a restart was asked for.
        WriteLog(app, returnValue == kDone ? std::string(step.successLine)
                                           : step.failurePrefix + std::to_string(returnValue));
        if (!Transient(returnValue) || attempt == kRetries) return returnValue;
        app.sys->Sleep(kRetryPauseMs);
    }
}

// The five methods on one instance, judged as a whole: the switch itself must succeed; the lease
// is the router's to give, and an address already there is as good as a renewed one.
SwitchOutcome SwitchInstance(App& app, WmiService& service, size_t instance,
                             const AdapterEntry& adapter, bool renewLease) {
    bool switched = true;
    bool restart = false;
    bool renewed = false;
    for (const MethodStep& step : kSteps) {
        if (step.lease != Lease::None && !renewLease) continue;
        const uint32_t r = CallStep(app, service, instance, step);
        restart = restart || r == kDoneAfterRestart;
        // A release straight after EnableDHCP often has no lease to give back: only the
        // renewal's answer counts.
        if (step.lease == Lease::Renew) renewed = Succeeded(r);
        if (step.lease == Lease::None && !Succeeded(r)) switched = false;
    }
    if (!switched) return SwitchOutcome::Failed;
    if (renewLease && !renewed && !AdapterHasRouterAddress(app, adapter.IfIndex))
        return SwitchOutcome::NoAddressYet;
    return restart ? SwitchOutcome::DoneRestartNeeded : SwitchOutcome::Done;
}

} // namespace

SwitchOutcome ResetAdaptersWmi(App& app, const AdapterEntry& adapter, bool renewLease) {
    std::unique_ptr<WmiService> service;
    Check(app.wmi->ConnectServer("root\\cimv2", &service), "WMI connection");
    if (!service) throw EngineFailure("WMI connection failed");
    std::vector<WmiRow> rows;
    Check(service->ExecQuery("Select * From Win32_NetworkAdapterConfiguration",
                             {"Description", "SettingID"}, &rows),
          "WMI query");

    // The adapter's GUID, which WMI keeps as SettingID, names exactly the adapter the user
    // chose and the restore file holds; descriptions differ between IP Helper and WMI (XP's
    // packet scheduler suffix) and two cards of one model share one. Only where no instance
    // carries the GUID does the description decide, and only when it names a single instance.
    std::vector<size_t> matches;
    if (!adapter.AdapterKey.empty())
        matches = Matching(rows, kSettingId, UpperAscii(adapter.AdapterKey));
    if (matches.empty()) matches = Matching(rows, kDescription, UpperAscii(adapter.DisplayText));
    if (matches.size() != 1) {
        WriteLog(app, "Adapters matched = " + std::to_string(matches.size()));
        return SwitchOutcome::Failed;
    }
    return SwitchInstance(app, *service, matches.front(), adapter, renewLease);
}

} // namespace ww
