#include "import_rules.h"

#include <algorithm>
#include <cctype>

namespace imports {
namespace {

struct Version {
    const char* text;
    int order;
};

constexpr int kNever = 1000;

constexpr Version k9x[] = {{"95", 1}, {"98", 2}, {"98SE", 3}, {"Me", 4}, {"none", kNever}};
constexpr Version kNt[] = {{"3.1", 10},     {"3.5", 20},     {"3.51", 30},    {"4.0", 40},
                           {"4.0 SP1", 41}, {"4.0 SP2", 42}, {"4.0 SP3", 43}, {"4.0 SP4", 44},
                           {"4.0 SP5", 45}, {"4.0 SP6", 46}, {"2000", 50},    {"XP", 60},
                           {"Vista", 70},   {"7", 80},       {"8", 90},       {"10", 100},
                           {"none", kNever}};

// The oldest systems every shipped file must load on.
constexpr int kTarget9x = 2;  // Windows 98
constexpr int kTargetNt = 46; // NT 4.0 SP6

// Libraries that Windows 7, 8, 8.1, 10 and 11 all name in their known-library list: the values
// of HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs as each
// installs it. A known library is mapped from the system folder only, never looked for beside the
// program. Kept here are only the names found in all five; the lists differ otherwise (Windows 7
// also has wininet, urlmon, iertutil, lpk and usp10, which later ones dropped; Windows 8 and later
// add combase, gdiplus and shcore). A name joins only once it is checked in all five. On none of
// them: wsock32, version, netapi32, iphlpapi, icmp, atl and comctl32 (which the manifest may
// route, see below).
constexpr std::string_view kKnownLibraries[] = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll",    "imm32.dll",  "kernel32.dll",
    "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "rpcrt4.dll", "sechost.dll",
    "shell32.dll",  "shlwapi.dll",  "user32.dll",   "ws2_32.dll"};

// comctl32 is no known library; the loader takes it from the system's side-by-side store, never
// from beside the program, only when the file's manifest asks for version 6 of the common
// controls.
constexpr std::string_view kCommonControls = "comctl32.dll";

template <size_t N>
std::optional<int> OrderOf(const Version (&versions)[N], std::string_view text) {
    for (const Version& v : versions)
        if (text == v.text) return v.order;
    return std::nullopt;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find(separator, start);
        fields.push_back(line.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return fields;
        start = at + 1;
    }
}

// The tag a legend line "# source TAG: what it is" defines; empty for any other line.
std::string_view SourceTag(std::string_view line) {
    constexpr std::string_view kLegend = "# source ";
    if (!line.starts_with(kLegend)) return {};
    line.remove_prefix(kLegend.size());
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    const std::string_view tag = line.substr(0, colon);
    return tag.find_first_of(" \t,") == std::string_view::npos ? tag : std::string_view();
}

// Whether a row says anything of Windows 9x or of an NT up to 4.0 SP6, which needs a source.
bool ClaimsOldWindows(const Row& row) {
    return row.win9x != kNever || row.winNt <= kTargetNt;
}

bool OnEveryTarget(const Row& row) {
    return row.win9x <= kTarget9x && row.winNt <= kTargetNt;
}

// "Windows 98", "NT 4.0 SP6" or both: the targets that lack a row's function.
std::string Lacking(const Row& row) {
    const bool no9x = row.win9x > kTarget9x, noNt = row.winNt > kTargetNt;
    if (no9x && noNt) return "Windows 98 and NT 4.0 SP6 do not export";
    return no9x ? "Windows 98 does not export" : "NT 4.0 SP6 does not export";
}

std::string Systems(const Row& row) {
    return "Windows 9x: " + row.win9xText + (row.stub ? " (stub)" : "") + ", NT: " + row.winNtText;
}

// The reason a row cannot stand as written, or empty.
std::string RowFault(const Row& row) {
    if (row.library.empty() || row.function.empty()) return "library and function are required";
    if (row.binding == Binding::RunTime) return {};
    // comctl32's imports stand or fall with each file's manifest.
    if (!IsKnownSystemLibrary(row.library) && row.library != kCommonControls)
        return row.library + " is no known system library: bind its functions at run time";
    if (!OnEveryTarget(row))
        return "Windows 98 and NT 4.0 SP6 do not both export it: bind it at run time";
    if (row.stub && row.note.empty())
        return "a stub on Windows 9x needs a note that says why the programs never rely on it";
    return {};
}

} // namespace

bool AsksForCommonControls6(std::string_view manifest) {
    constexpr std::string_view kName = "\"Microsoft.Windows.Common-Controls\"";
    for (size_t at = manifest.find(kName); at != std::string_view::npos;
         at = manifest.find(kName, at + 1)) {
        // The version must stand in the same assemblyIdentity element as the name.
        const size_t open = manifest.rfind('<', at);
        const size_t close = manifest.find('>', at);
        if (open == std::string_view::npos || close == std::string_view::npos) continue;
        const std::string_view element = manifest.substr(open, close - open);
        if (element.rfind("<assemblyIdentity", 0) == 0 &&
            element.find("version=\"6.") != std::string_view::npos)
            return true;
    }
    return false;
}

bool IsKnownSystemLibrary(std::string_view library) {
    const std::string lower = Lower(library);
    return std::find(std::begin(kKnownLibraries), std::end(kKnownLibraries), lower) !=
           std::end(kKnownLibraries);
}

std::optional<Table> Table::Parse(std::string_view text, std::vector<std::string>* errors) {
    Table table;
    const size_t errorsBefore = errors->size();
    size_t lineNumber = 0;
    bool header = true;
    std::vector<std::string> tags;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '#') {
            if (const std::string_view tag = SourceTag(line); !tag.empty()) tags.emplace_back(tag);
            continue;
        }
        if (line.empty()) continue;
        if (header) { // the column names
            header = false;
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        const std::vector<std::string_view> f = Split(line, '\t');
        if (f.size() != 8) {
            errors->push_back(where + "8 columns separated by tabs expected, found " +
                              std::to_string(f.size()));
            continue;
        }
        Row row;
        row.library = Lower(f[0]);
        row.function = std::string(f[1]);
        row.win9xText = std::string(f[2]);
        row.winNtText = std::string(f[4]);
        row.note = std::string(f[7]);
        const auto win9x = OrderOf(k9x, f[2]);
        const auto winNt = OrderOf(kNt, f[4]);
        if (!win9x || !winNt) {
            errors->push_back(where + "unknown Windows version \"" +
                              std::string(win9x ? f[4] : f[2]) + "\"");
            continue;
        }
        row.win9x = *win9x;
        row.winNt = *winNt;
        if (f[3] == "stub") {
            row.stub = true;
        } else if (f[3] != (row.win9x == kNever ? "-" : "real")) {
            errors->push_back(where + "the Windows 9x kind must be " +
                              (row.win9x == kNever ? "\"-\"" : "real or stub"));
            continue;
        }
        if (row.stub && row.win9x == kNever) {
            errors->push_back(where + "a function Windows 9x lacks cannot be a stub there");
            continue;
        }
        if (f[5] == "runtime") {
            row.binding = Binding::RunTime;
        } else if (f[5] != "import") {
            errors->push_back(where + "binding must be import or runtime");
            continue;
        }
        if (f[6].empty()) {
            if (ClaimsOldWindows(row)) {
                errors->push_back(where + row.function +
                                  ": a claim for Windows 9x or NT 4 needs its source (or \"-\")");
                continue;
            }
        } else if (f[6] != "-") {
            std::optional<std::string> unknown;
            for (std::string_view tag : Split(f[6], ',')) {
                if (std::find(tags.begin(), tags.end(), tag) == tags.end())
                    unknown = std::string(tag);
                row.sources.emplace_back(tag);
            }
            if (unknown) {
                errors->push_back(where + row.function + ": the source \"" + *unknown +
                                  "\" is named in no \"# source\" line");
                continue;
            }
        }
        if (const std::string fault = RowFault(row); !fault.empty()) {
            errors->push_back(where + row.function + ": " + fault);
            continue;
        }
        if (table.Find(row.library, row.function) != nullptr) {
            errors->push_back(where + row.library + " " + row.function + " is listed twice");
            continue;
        }
        table.rows_.push_back(std::move(row));
    }
    if (errors->size() != errorsBefore) return std::nullopt;
    return table;
}

const Row* Table::Find(std::string_view library, std::string_view function) const {
    const std::string lower = Lower(library);
    for (const Row& row : rows_)
        if (row.library == lower && row.function == function) return &row;
    return nullptr;
}

std::vector<std::string> CheckImage(const std::string& fileName, const pe::Image& image,
                                    const Table& table) {
    std::vector<std::string> faults;
    const auto fault = [&](const std::string& text) { faults.push_back(fileName + ": " + text); };
    if (image.machine != pe::kMachineI386) fault("not an i386 file");
    // Windows 98 and NT 4 refuse a file that asks for a later system in its header.
    const auto version = [](uint16_t major, uint16_t minor) {
        return std::to_string(major) + "." + std::to_string(minor);
    };
    if (image.subsystemMajor > 4 || (image.subsystemMajor == 4 && image.subsystemMinor > 0))
        fault("subsystem version " + version(image.subsystemMajor, image.subsystemMinor) +
              " is above 4.0, which Windows 98 and NT 4 refuse");
    if (image.osMajor > 4 || (image.osMajor == 4 && image.osMinor > 0))
        fault("operating system version " + version(image.osMajor, image.osMinor) +
              " is above 4.0, which Windows 98 and NT 4 refuse");
    if (image.delayImports) fault("has delay-loaded imports, which this check cannot follow");

    std::vector<std::string> unknownLibraries;
    const bool commonControls6 = AsksForCommonControls6(image.manifest);
    for (const pe::Import& import : image.imports) {
        if (Lower(import.library) == kCommonControls && !commonControls6) {
            if (std::find(unknownLibraries.begin(), unknownLibraries.end(), import.library) ==
                unknownLibraries.end()) {
                unknownLibraries.push_back(import.library);
                fault("imports " + import.library +
                      " without a manifest that asks for Common Controls 6: the loader would "
                      "look for it beside the program first");
            }
            continue;
        }
        if (!IsKnownSystemLibrary(import.library) && Lower(import.library) != kCommonControls) {
            if (std::find(unknownLibraries.begin(), unknownLibraries.end(), import.library) ==
                unknownLibraries.end()) {
                unknownLibraries.push_back(import.library);
                fault("imports " + import.library +
                      ", which is no known system library: the loader would look for it beside "
                      "the program first; load it by full path from the system folder");
            }
            continue;
        }
        if (import.function.empty()) {
            fault("imports ordinal " + std::to_string(import.ordinal) + " of " + import.library +
                  ", which the table cannot vouch for: import it by name");
            continue;
        }
        const Row* row = table.Find(import.library, import.function);
        if (row == nullptr) {
            fault("imports " + import.function + " from " + import.library +
                  ", which the table of allowed imports does not list");
        } else if (row->binding == Binding::RunTime) {
            fault("imports " + import.function + " from " + import.library +
                  (OnEveryTarget(*row) ? ", which the table has bound at run time ("
                                       : ", which " + Lacking(*row) + " (") +
                  Systems(*row) + "): bind it at run time");
        }
    }
    for (const pe::Export& e : image.exports) {
        if (!e.forwarder.empty())
            fault("forwards its export " + e.name + " to " + e.forwarder +
                  ", which the loader looks for beside the program first");
    }
    return faults;
}

} // namespace imports
