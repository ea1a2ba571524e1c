#include "engine/settings_pass.h"

#include <array>
#include <span>
#include <string>
#include <vector>

#include "engine/dhcp_refresh.h"
#include "engine/failure.h"
#include "engine/ie_blobs.h"
#include "engine/wmi_reset.h"
#include "platform/ascii_case.h"
#include "platform/log.h"
#include "platform/registry_values.h"
#include "seams/ui.h"

namespace ww {
namespace {

// Which roads a row belongs to.
enum class On { Win9x, Nt, Both };

enum Key {
    kUserIe,
    kCurrentIe,
    kUserConnections,
    kMstcp,
    kNetTrans,
    kInterface,
    kAdapterTcpip,
    kTcpipService,
    kTcpipParameters,
    kKeyCount
};

// What goes between a key's fixed parts.
enum class Insert { Nothing, UserKeyPrefix, AdapterKey };

struct KeyLayout {
    HKey root;
    const char* head;
    Insert insert;
    const char* tail;
};

// Indexed by Key. Paths are as the systems spell them, trailing backslashes and case included.
constexpr std::array<KeyLayout, kKeyCount> kKeys = {{
    {kHkeyUsers, "", Insert::UserKeyPrefix,
     "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\"},
    {kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\",
     Insert::Nothing, ""},
    {kHkeyUsers, "", Insert::UserKeyPrefix,
     "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections"},
    {kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", Insert::Nothing, ""},
    {kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\",
     Insert::AdapterKey, ""},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\",
     Insert::AdapterKey, ""},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\", Insert::AdapterKey,
     "\\Parameters\\Tcpip"},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip", Insert::Nothing, ""},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", Insert::Nothing,
     ""},
}};

// One read: logged as ">" label " = " value when the value exists. A heading is logged before
// the read whether or not the value exists.
struct ReadRow {
    On on;
    const char* heading;
    Key key;
    const char* valueName;
    const char* label;
    bool hex;
};

constexpr ReadRow kInternetReads[] = {
    {On::Both, nullptr, kUserIe, "EnableAutodial", "AutoDial", false},
    {On::Both, nullptr, kUserIe, "NoNetAutodial", "NoNetAuto", false},
    {On::Both, nullptr, kUserIe, "ProxyEnable", "Proxy", false},
    {On::Both, nullptr, kUserIe, "AutoConfigURL", "Auto URL", false},
    {On::Win9x, nullptr, kCurrentIe, "EnableAutodial", "AutoDial - Current", false},
    {On::Win9x, nullptr, kCurrentIe, "NoNetAutodial", "NoNetAuto - Current", false},
    {On::Win9x, nullptr, kCurrentIe, "ProxyEnable", "Proxy - Current", false},
    {On::Win9x, nullptr, kCurrentIe, "AutoConfigURL", "Auto URL - Current", false},
    {On::Nt, nullptr, kUserConnections, "DefaultConnectionSettings", "Def Con", true},
    {On::Nt, nullptr, kUserConnections, "SavedLegacySettings", "Leg Sav", true},
};

constexpr ReadRow kNicReads[] = {
    {On::Win9x, nullptr, kMstcp, "EnableDNS", "Enable DNS", false},
    {On::Win9x, nullptr, kNetTrans, "IPAddress", "IP Address", false},
    {On::Win9x, nullptr, kNetTrans, "IPMask", "Subnet Mask", false},
    {On::Nt, "Area 1:", kInterface, "DefaultGateway", "Default Gateway", false},
    {On::Nt, nullptr, kInterface, "DefaultGatewayMetric", "Default Gateway Metric", false},
    {On::Nt, nullptr, kInterface, "IPAddress", "IP Address", false},
    {On::Nt, nullptr, kInterface, "SubnetMask", "Subnet Mask", false},
    {On::Nt, nullptr, kInterface, "EnableDHCP", "Enable DHCP", false},
    {On::Nt, nullptr, kInterface, "NameServer", "Name server", false},
    {On::Nt, "Area 2:", kAdapterTcpip, "DefaultGateway", "Default Gateway", false},
    {On::Nt, nullptr, kAdapterTcpip, "DefaultGatewayMetric", "Default Gateway Metric", false},
    {On::Nt, nullptr, kAdapterTcpip, "IPAddress", "IP Address", false},
    {On::Nt, nullptr, kAdapterTcpip, "SubnetMask", "IP Mask", false},
    {On::Nt, nullptr, kAdapterTcpip, "EnableDHCP", "Enable DHCP", false},
    {On::Nt, nullptr, kTcpipService, "Start", "Start", false},
    {On::Nt, nullptr, kTcpipParameters, "DhcpNameServer", "DHCP NS", false},
};

enum class NewValue { Zero, Empty, NoAddress };

// One write: the value is rewritten only when a read shows it exists, and the done line follows
// whatever the write did. A step label is logged before the read whether or not it exists.
struct WriteRow {
    On on;
    const char* stepLabel;
    Key key;
    const char* valueName;
    uint32_t type;
    NewValue value;
    const char* doneLine;
};

constexpr WriteRow kInternetWrites[] = {
    {On::Both, "Auto Dial", kUserIe, "EnableAutodial", kRegDword, NewValue::Zero, "OK"},
    {On::Both, "No Net Auto", kUserIe, "NoNetAutodial", kRegDword, NewValue::Zero, "OK"},
    {On::Both, "Proxy", kUserIe, "ProxyEnable", kRegDword, NewValue::Zero, "OK"},
    {On::Both, "Auto URL", kUserIe, "AutoConfigURL", kRegSz, NewValue::Empty, "OK"},
    {On::Win9x, "Auto Dial - Current", kCurrentIe, "EnableAutodial", kRegDword, NewValue::Zero,
     "OK"},
    {On::Win9x, "No Net Auto - Current", kCurrentIe, "NoNetAutodial", kRegDword, NewValue::Zero,
     "OK"},
    {On::Win9x, "Proxy - Current", kCurrentIe, "ProxyEnable", kRegDword, NewValue::Zero, "OK"},
    {On::Win9x, "Auto URL - Current", kCurrentIe, "AutoConfigURL", kRegSz, NewValue::Empty, "OK"},
};

constexpr WriteRow kWin9xNicWrites[] = {
    {On::Win9x, "Enable DNS", kMstcp, "EnableDNS", kRegSz, NewValue::Zero, "OK"},
    {On::Win9x, "IP Address", kNetTrans, "IPAddress", kRegMultiSz, NewValue::NoAddress, "OK"},
    {On::Win9x, "Subnet Mask", kNetTrans, "IPMask", kRegMultiSz, NewValue::NoAddress, "OK"},
};

constexpr WriteRow kGatewayWrites[] = {
    {On::Nt, "Area 1:", kInterface, "DefaultGateway", kRegMultiSz, NewValue::Empty, "Gateway set"},
    {On::Nt, nullptr, kInterface, "DefaultGatewayMetric", kRegMultiSz, NewValue::Empty,
     "Gateway Metric set"},
    {On::Nt, "Area 2:", kAdapterTcpip, "DefaultGateway", kRegMultiSz, NewValue::Empty,
     "Gateway set"},
    {On::Nt, nullptr, kAdapterTcpip, "DefaultGatewayMetric", kRegMultiSz, NewValue::Empty,
     "Gateway Metric set"},
};

constexpr WriteRow kNameServerWrites[] = {
    {On::Nt, nullptr, kInterface, "NameServer", kRegSz, NewValue::Empty, "Clearing NameServer"},
    {On::Nt, nullptr, kTcpipParameters, "DhcpNameServer", kRegSz, NewValue::Empty, "Reset DHCP NS"},
};

// What switching the adapter to DHCP changes besides the rows above: DHCP goes on and the fixed
// addressing goes (on Windows 9x in the NetTrans key; on NT through WMI, in the interface key
// and, on NT 4, in the adapter's own Tcpip key). WMI also empties the DNS domain and the name
// servers: Windows 2000 and later keep them in the interface key, NT 4 for the whole PC in the
// Tcpip parameters.
struct SwitchedValue {
    On on;
    Key key;
    const char* valueName;
};

constexpr SwitchedValue kSwitchedValues[] = {
    {On::Win9x, kNetTrans, "IPAddress"},
    {On::Win9x, kNetTrans, "IPMask"},
    {On::Win9x, kNetTrans, "DefaultGateway"},
    {On::Nt, kInterface, "EnableDHCP"},
    {On::Nt, kInterface, "IPAddress"},
    {On::Nt, kInterface, "SubnetMask"},
    {On::Nt, kInterface, "DefaultGateway"},
    {On::Nt, kInterface, "DefaultGatewayMetric"},
    {On::Nt, kInterface, "NameServer"},
    {On::Nt, kInterface, "Domain"},
    {On::Nt, kAdapterTcpip, "EnableDHCP"},
    {On::Nt, kAdapterTcpip, "IPAddress"},
    {On::Nt, kAdapterTcpip, "SubnetMask"},
    {On::Nt, kAdapterTcpip, "DefaultGateway"},
    {On::Nt, kAdapterTcpip, "DefaultGatewayMetric"},
    {On::Nt, kTcpipParameters, "NameServer"},
    {On::Nt, kTcpipParameters, "Domain"},
};

struct Pass {
    App& app;
    Road road;
    const AdapterEntry& entry;
    std::array<std::string, kKeyCount> paths;

    bool Applies(On on) const {
        return on == On::Both || (on == On::Win9x ? road == Road::Win9x : road == Road::Nt);
    }

    // On Windows 2000 the gateways go whatever the box says.
    bool ClearsGateways() const {
        return road == Road::Nt && (app.options->chkGates() || app.OsCode == OsFamily::Win2000);
    }

    // Every value the write pass and the adapter switch may change on this road, from the same
    // tables the pass walks, each once.
    std::vector<RegLocation> ValuesToChange() const {
        std::vector<RegLocation> values;
        const auto add = [&](Key key, const char* valueName) {
            for (const RegLocation& v : values)
                // Registry names compare without regard to case.
                if (v.root == kKeys[key].root && EqualsAsciiNoCase(v.keyPath, paths[key]) &&
                    EqualsAsciiNoCase(v.valueName, valueName))
                    return;
            values.push_back({kKeys[key].root, paths[key], valueName});
        };
        const auto addRows = [&](std::span<const WriteRow> rows) {
            for (const WriteRow& row : rows)
                if (Applies(row.on)) add(row.key, row.valueName);
        };
        if (road == Road::None) return values;
        addRows(kInternetWrites);
        if (app.options->chkIEAuto()) {
            add(kUserConnections, kDefaultConnectionSettings);
            add(kUserConnections, kSavedLegacySettings);
        }
        addRows(kWin9xNicWrites);
        if (ClearsGateways()) addRows(kGatewayWrites);
        addRows(kNameServerWrites);
        for (const SwitchedValue& v : kSwitchedValues)
            if (Applies(v.on)) add(v.key, v.valueName);
        return values;
    }

    // The key of a run of rows, opened once for all of that run's values.
    class RowKey {
      public:
        explicit RowKey(const Pass& pass) : pass_(pass), key_(*pass.app.reg) {}
        // The open key of the row, or null when it does not open.
        const RegKey* For(Key k) {
            if (k != current_) {
                current_ = k;
                opened_ = OpenRegKey(pass_.app, key_, kKeys[k].root, pass_.paths[k]);
            }
            return opened_ ? &key_ : nullptr;
        }

      private:
        const Pass& pass_;
        RegKey key_;
        Key current_ = kKeyCount;
        bool opened_ = false;
    };

    void ReadRows(std::span<const ReadRow> rows) {
        RowKey keys(*this);
        for (const ReadRow& row : rows) {
            if (!Applies(row.on)) continue;
            if (row.heading) WriteLog(app, row.heading);
            const RegKey* key = keys.For(row.key);
            std::string text;
            if (!key || !ReadRegValue(app, *key, row.valueName, text)) continue;
            WriteLog(app,
                     std::string(">") + row.label + " = " + (row.hex ? BytesToHex(text) : text));
        }
    }

    void WriteRows(std::span<const WriteRow> rows) {
        RowKey keys(*this);
        for (const WriteRow& row : rows) {
            if (!Applies(row.on)) continue;
            if (row.stepLabel) WriteLog(app, row.stepLabel);
            const RegKey* key = keys.For(row.key);
            std::string existing;
            if (!key || !ReadRegValue(app, *key, row.valueName, existing)) continue;
            RegValue value = row.value == NewValue::Zero        ? RegValue(0LL)
                             : row.value == NewValue::NoAddress ? RegValue(std::string("0.0.0.0"))
                                                                : RegValue(std::string());
            // A failed write is not told apart: the done line records the attempt.
            WriteRegValue(*key, row.type, row.valueName, value);
            WriteLog(app, row.doneLine);
        }
    }

    void ReadPass() {
        if (road == Road::None) return;
        WriteLog(app, "Connection:");
        ReadRows(kInternetReads);
        WriteLog(app, "NIC: " + entry.DisplayText);
        ReadRows(kNicReads);
    }

    // How far the adapter's switch got; Done on the road that has none.
    SwitchOutcome WritePass() {
        SwitchOutcome switched = SwitchOutcome::Done;
        WriteLog(app, "Setting values");
        if (road != Road::None) {
            WriteLog(app, "Connection:");
            WriteRows(kInternetWrites);
            const bool autoDetect = SetAutoDetect(app, paths[kUserConnections], true);
            WriteLog(app, std::string("Auto detect = ") + TrueFalse(autoDetect));
            WriteLog(app, "NIC(s):");
            if (road == Road::Win9x) {
                WriteRows(kWin9xNicWrites);
                WriteLog(app, "Attempt to refresh DHCP");
                switched = RefreshDhcp(app, entry.IfIndex);
                WriteLog(app, std::string("DHCP = ") + TrueFalse(SwitchDone(switched)));
            } else {
                if (ClearsGateways()) WriteRows(kGatewayWrites);
                WriteRows(kNameServerWrites);
                WriteLog(app, "NIC setup");
                switched = ResetAdaptersWmi(app, entry, true);
                WriteLog(app, std::string("IP, DNS & DHCP = ") + TrueFalse(SwitchDone(switched)));
            }
            WriteLog(app, OutcomeLine(switched));
        }
        WriteLog(app, "Completed Setup");
        return switched;
    }

    static const char* TrueFalse(bool b) { return b ? "True" : "False"; }
};

std::array<std::string, kKeyCount> KeyPaths(const App& app, Road road, const AdapterEntry& entry) {
    // On the NT road the user's settings are those of whoever sees the window.
    const std::string ntUser = app.DesktopSid.empty() ? app.UserSid : app.DesktopSid;
    const std::string userKeyPrefix = road == Road::Win9x ? app.UserName
                                      : road == Road::Nt  ? ntUser
                                                          : std::string();
    std::array<std::string, kKeyCount> paths;
    for (size_t k = 0; k < kKeyCount; ++k) {
        const KeyLayout& layout = kKeys[k];
        paths[k] = layout.head;
        if (layout.insert == Insert::UserKeyPrefix) paths[k] += userKeyPrefix;
        if (layout.insert == Insert::AdapterKey) paths[k] += entry.AdapterKey;
        paths[k] += layout.tail;
    }
    return paths;
}

} // namespace

std::vector<RegLocation> ValuesASetupRunMayChange(App& app) {
    if (app.SelectedAdapter < 0 || static_cast<size_t>(app.SelectedAdapter) >= app.Adapters.size())
        return {}; // the write pass ends before its first write
    const AdapterEntry& entry = app.Adapters[static_cast<size_t>(app.SelectedAdapter)];
    const Road road = RoadOf(app);
    const Pass pass{app, road, entry, KeyPaths(app, road, entry)};
    return pass.ValuesToChange();
}

PassOutcome ConfigureNetwork(App& app, bool readOnly) {
    // Every failure inside ends the pass here; what was written stays written.
    try {
        if (app.SelectedAdapter < 0 ||
            static_cast<size_t>(app.SelectedAdapter) >= app.Adapters.size())
            throw EngineFailure("Subscript out of range");
        const AdapterEntry& entry = app.Adapters[static_cast<size_t>(app.SelectedAdapter)];
        const Road road = RoadOf(app);
        Pass pass{app, road, entry, KeyPaths(app, road, entry)};
        WriteLog(app, "Selected: " + entry.DisplayText);
        if (readOnly) {
            pass.ReadPass();
            return PassOutcome::Done;
        }
        switch (pass.WritePass()) {
        case SwitchOutcome::Done:
            return PassOutcome::Done;
        case SwitchOutcome::DoneRestartNeeded:
            return PassOutcome::DoneRestartNeeded;
        case SwitchOutcome::NoAddressYet:
            return PassOutcome::NoAddressYet;
        case SwitchOutcome::Failed:
            break;
        }
        return PassOutcome::AdapterNotSwitched;
    } catch (...) {
        app.ui->MessageBox("An error occured in reading/writing the network", kMbOk | kMbIconHand);
        return PassOutcome::EndedEarly;
    }
}

} // namespace ww
