#include "engine/restore_file.h"

#include "common/text.h"
#include <optional>
#include <string_view>

#include "platform/data_folder.h"
#include "platform/log.h"
#include "platform/registry_values.h"
#include "seams/codepage.h"
#include "seams/files.h"
#include "seams/ui.h"

namespace ww {
namespace {

// regedit's own exports wrap hex data so that no line is much longer than 80 characters; the
// regedit of Windows 98 does not take lines of any length.
constexpr size_t kWrapAt = 76;

constexpr char kCouldNotSave[] = "Setup could not save a copy of your current network settings.";
constexpr char kChangeAnyway[] = "\r\n\r\nDo you want to change them anyway?";

// A first byte of a two-byte character with nothing after it: in a line it would take the quote
// or bracket that follows as its second byte.
bool EndsInALoneLeadByte(std::string_view text, const LeadBytes& lead) {
    size_t last = 0;
    for (size_t i = 0; i < text.size(); i += lead.CharLength(text, i))
        last = i;
    return !text.empty() && last + 1 == text.size() && lead(text[last]);
}

bool FitsOnALine(std::string_view text, const LeadBytes& lead) {
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos &&
           !EndsInALoneLeadByte(text, lead);
}

// text with its backslashes and quotes escaped, walked by characters: the second byte of a
// two-byte character stays as it is, whatever it looks like, as regedit reads it so.
std::string Escaped(std::string_view text, const LeadBytes& lead) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t n = lead.CharLength(text, i);
        if (n == 1 && (text[i] == '\\' || text[i] == '"')) out += '\\';
        out += text.substr(i, n);
        i += n;
    }
    return out;
}

// "name" escaped; the default value is @.
std::string NamePart(const std::string& name, const LeadBytes& lead) {
    if (name.empty()) return "@";
    std::string quoted = "\"";
    quoted += Escaped(name, lead);
    quoted += '"';
    return quoted;
}

// The key path without the backslashes that end it; a last character whose second byte is a
// backslash is kept whole.
std::string WithoutTrailingSlashes(const std::string& path, const LeadBytes& lead) {
    size_t keep = 0;
    for (size_t i = 0; i < path.size();) {
        const size_t n = lead.CharLength(path, i);
        if (n == 2 || path[i] != '\\') keep = i + n;
        i += n;
    }
    return path.substr(0, keep);
}

// A REG_SZ regedit stores back byte for byte from "text": the text and one terminating NUL,
// with nothing in the text that would end or break the line.
bool IsPlainText(const SavedValue& v, const LeadBytes& lead) {
    if (v.type != kRegSz || v.data.empty() || v.data.back() != '\0') return false;
    for (size_t i = 0; i + 1 < v.data.size(); ++i)
        if (static_cast<unsigned char>(v.data[i]) < 0x20) return false;
    return !EndsInALoneLeadByte(std::string_view(v.data).substr(0, v.data.size() - 1), lead);
}

// Lower-case hex digits, at least width of them.
std::string Hex(uint32_t value, size_t width) {
    std::string digits;
    do {
        digits.insert(digits.begin(), corvane::kHexLower[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

// name=hex(N):xx,xx,... wrapped as regedit wraps it: ",\" and the next line indented by two.
void AppendHex(std::string& out, const std::string& head, const std::string& data) {
    std::string line = head;
    for (size_t i = 0; i < data.size(); ++i) {
        line += Hex(static_cast<unsigned char>(data[i]), 2);
        if (i + 1 == data.size()) break;
        line += ',';
        if (line.size() >= kWrapAt) {
            out += line + "\\\r\n";
            line = "  ";
        }
    }
    out += line + "\r\n";
}

void AppendValue(std::string& out, const SavedValue& v, const LeadBytes& lead) {
    const std::string name = NamePart(v.valueName, lead) + "=";
    if (IsPlainText(v, lead)) {
        const std::string_view text(v.data.data(), v.data.size() - 1);
        out += name + "\"" + Escaped(text, lead) + "\"\r\n";
        return;
    }
    if (v.type == kRegDword && v.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(v.data[static_cast<size_t>(i)]);
        out += name + "dword:" + Hex(number, 8) + "\r\n";
        return;
    }
    // Everything else as its bytes and its type: a binary value, a REG_SZ that is not one text
    // with its terminator, a REG_DWORD of another size, and every other type.
    AppendHex(out, name + (v.type == kRegBinary ? "hex:" : "hex(" + Hex(v.type, 1) + "):"), v.data);
}

// The value's type and bytes, however large; nothing when it is missing or cannot be read.
std::optional<SavedValue> ReadValue(App& app, const RegLocation& place) {
    SavedValue value{place.root, ToAnsi(place.keyPath), ToAnsi(place.valueName), 0, {}};
    RegKey key(*app.reg);
    if (key.Open(place.root, value.keyPath, kKeyRead) != kErrorSuccess ||
        key.QueryValue(value.valueName, &value.type, &value.data) != kErrorSuccess)
        return std::nullopt;
    return value;
}

// Writes text under a temporary name of its own next to path and gives it path, so that the
// file is there whole or not at all. Not .reg: a file left by a crash is never imported by a
// double-click. A leftover of that kind (or another copy's file in the making) keeps its name;
// the next free one is taken, so that one crash does not cost every later run its copy. Only a
// file this run made is ever deleted.
enum class Written { Done, NameTaken, Failed };

Written WriteVia(Files& files, const std::string& path, const std::string& text) {
    // More leftovers than crashes a PC will see; a folder that holds more is given up.
    constexpr int kMostTemporaries = 99;
    for (int n = 1; n <= kMostTemporaries; ++n) {
        std::string temporary = path;
        if (n > 1) temporary += '.' + std::to_string(n);
        temporary += ".tmp";
        if (files.Exists(temporary)) continue;
        if (!files.WriteNew(temporary, text)) {
            // Made by another program between the look and the write: the next name.
            if (files.Exists(temporary)) continue;
            return Written::Failed;
        }
        if (files.Rename(temporary, path)) return Written::Done;
        files.Delete(temporary);
        // Another program took the name meanwhile.
        return files.Exists(path) ? Written::NameTaken : Written::Failed;
    }
    return Written::Failed;
}

// The file's name in folder: the first of Setup-backup.reg, Setup-backup-2.reg, ... that does
// not exist.
std::optional<std::string> WriteIn(App& app, const std::string& folder, const std::string& text) {
    Files& files = *app.files;
    constexpr int kMostFiles = 9999;
    for (int n = 1; n <= kMostFiles; ++n) {
        const std::string path =
            folder + (n == 1 ? "Setup-backup.reg" : "Setup-backup-" + std::to_string(n) + ".reg");
        if (files.Exists(path)) continue;
        switch (WriteVia(files, path, text)) {
        case Written::Done:
            return path;
        case Written::NameTaken:
            continue;
        case Written::Failed:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

bool Regedit4Text(const std::vector<SavedValue>& values, std::string* text) {
    return Regedit4Text(values, AnsiLeadBytes(), text);
}

bool Regedit4Text(const std::vector<SavedValue>& values, const LeadBytes& lead, std::string* text) {
    std::string out = "REGEDIT4\r\n";
    std::vector<bool> done(values.size(), false);
    for (size_t i = 0; i < values.size(); ++i) {
        if (done[i]) continue;
        const SavedValue& first = values[i];
        // Performance data is no key that regedit could write back.
        const std::string_view root =
            first.root == kHkeyPerformanceData ? std::string_view() : RootName(first.root);
        if (root.empty() || !FitsOnALine(first.keyPath, lead)) return false;
        // Key names carry no trailing backslash in a section.
        const std::string path = WithoutTrailingSlashes(first.keyPath, lead);
        out += "\r\n[" + std::string(root) + (path.empty() ? "" : "\\" + path) + "]\r\n";
        for (size_t j = i; j < values.size(); ++j) {
            const SavedValue& v = values[j];
            if (done[j] || v.root != first.root || v.keyPath != first.keyPath) continue;
            if (!FitsOnALine(v.valueName, lead)) return false;
            AppendValue(out, v, lead);
            done[j] = true;
        }
    }
    *text = out + "\r\n";
    return true;
}

std::vector<SavedValue> ReadValues(App& app, const std::vector<RegLocation>& places) {
    std::vector<SavedValue> values;
    for (const RegLocation& place : places)
        if (auto value = ReadValue(app, place)) values.push_back(std::move(*value));
    return values;
}

Backup BackUpSettings(App& app, const std::string& programFolder) {
    std::optional<std::string> path;
    try {
        // No road, no adapter: the run changes nothing, and a file would send the user to a copy
        // of nothing.
        const std::vector<RegLocation> places = ValuesASetupRunMayChange(app);
        if (places.empty()) return {true, ""};
        std::string text;
        if (Regedit4Text(ReadValues(app, places), &text)) {
            // Without the program's folder a bare name would land in the current folder.
            if (!programFolder.empty()) path = WriteIn(app, programFolder, text);
            // A CD, a read-only folder: the data folder then.
            if (!path) {
                const std::string folder = DataFolder(app);
                if (!folder.empty()) path = WriteIn(app, folder, text);
            }
        }
    } catch (...) {
        path.reset(); // no copy to rely on: as if it could not be written
    }
    if (path) {
        WriteLog(app, "Backup = " + *path);
        return {true, *path};
    }
    // A run that ends here (No) shows nothing more: the log of a CD run is named now.
    std::string question = kCouldNotSave;
    const std::string logFolder = LogFolderElsewhere(app, programFolder);
    if (!logFolder.empty()) question += "\r\n\r\nSetup.log in " + logFolder + " lists them.";
    question += kChangeAnyway;
    // No is the default button: a key pressed in haste changes nothing.
    if (app.ui->MessageBox(question, kMbYesNo | kMbIconExclamation | kMbDefButton2) != kIdYes) {
        WriteLog(app, "Setup cancelled");
        return {false, ""};
    }
    WriteLog(app, "Backup failed");
    return {true, ""};
}

} // namespace ww
