#pragma once
// A small REGEDIT4 reader that imports as regedit does: "REGEDIT4", then [ROOT\path] sections
// and "name"=data lines ("text", dword:, hex:, hex(N):, hex lists continued by ",\" line ends),
// CR LF line ends, the ANSI code page (the fake registry holds ANSI, so string data in hex form
// is stored as it stands). Strict: anything else is an error, so a writer's slip shows.
// Quoted names and texts are walked by characters of the given code page, as regedit walks them:
// a lead byte and the byte after it are one character, so a second byte 0x5C is no escape.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/wirewise/fake_registry.h"
#include "seams/codepage.h"

namespace ww::test {

struct ImportedValue {
    HKey root = 0;
    std::string keyPath;
    std::string name;
    uint32_t type = 0;
    std::string data;
    bool operator==(const ImportedValue&) const = default;
};

namespace regedit4_detail {

inline std::optional<HKey> RootOf(std::string_view name) {
    const std::pair<const char*, HKey> roots[] = {
        {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},     {"HKEY_CURRENT_USER", kHkeyCurrentUser},
        {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},   {"HKEY_USERS", kHkeyUsers},
        {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig}, {"HKEY_DYN_DATA", kHkeyDynData}};
    for (const auto& [text, root] : roots)
        if (name == text) return root;
    return std::nullopt;
}

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted text with \\ and \" from at (just past the opening quote); at ends past the closing
// quote.
inline std::optional<std::string> Quoted(std::string_view line, size_t& at, const LeadBytes& lead) {
    std::string text;
    while (at < line.size()) {
        const char c = line[at++];
        if (lead(c) && at < line.size()) {
            text += c;
            text += line[at++];
            continue;
        }
        if (c == '"') return text;
        if (c == '\\') {
            if (at >= line.size() || (line[at] != '\\' && line[at] != '"')) return std::nullopt;
            text += line[at++];
            continue;
        }
        text += c;
    }
    return std::nullopt;
}

inline std::optional<std::string> HexList(std::string_view list) {
    std::string bytes;
    size_t at = 0;
    while (at < list.size()) {
        if (at + 2 > list.size()) return std::nullopt;
        const int hi = HexDigit(list[at]), lo = HexDigit(list[at + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
        at += 2;
        if (at == list.size()) break;
        if (list[at] != ',' || at + 1 == list.size()) return std::nullopt;
        ++at;
    }
    return bytes;
}

} // namespace regedit4_detail

// The values of a REGEDIT4 text in file order; nothing, with the reason, when it is malformed.
inline std::optional<std::vector<ImportedValue>>
ParseRegedit4(std::string_view text, std::string* error = nullptr, const LeadBytes& lead = {}) {
    using namespace regedit4_detail;
    const auto fail = [&](const std::string& why) -> std::optional<std::vector<ImportedValue>> {
        if (error) *error = why;
        return std::nullopt;
    };
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos) return fail("a line without CR LF");
        lines.emplace_back(text.substr(at, end - at));
        at = end + 2;
    }
    if (lines.empty() || lines[0] != "REGEDIT4") return fail("no REGEDIT4 header");
    std::vector<ImportedValue> values;
    std::optional<std::pair<HKey, std::string>> key;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (line.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos)
            return fail("a stray NUL, CR or LF in line " + std::to_string(i + 1));
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail("an open section: " + line);
            const std::string path = line.substr(1, line.size() - 2);
            const size_t slash = path.find('\\');
            const auto root = RootOf(std::string_view(path).substr(0, slash));
            if (!root) return fail("no root: " + line);
            const std::string sub = slash == std::string::npos ? "" : path.substr(slash + 1);
            bool trailingSlash = false;
            for (size_t c = 0; c < sub.size(); c += lead.CharLength(sub, c))
                trailingSlash = sub[c] == '\\' && c + 1 == sub.size();
            if (trailingSlash) return fail("a trailing backslash: " + line);
            key.emplace(*root, sub);
            continue;
        }
        if (!key) return fail("a value outside a section: " + line);
        ImportedValue v{key->first, key->second, "", 0, ""};
        size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] == '"') {
            at = 1;
            auto name = Quoted(line, at, lead);
            if (!name) return fail("a bad name: " + line);
            v.name = *name;
        } else {
            return fail("not a value: " + line);
        }
        if (at >= line.size() || line[at] != '=') return fail("no '=': " + line);
        const std::string data = line.substr(at + 1);
        if (!data.empty() && data[0] == '"') {
            size_t q = 1;
            auto str = Quoted(data, q, lead);
            if (!str || q != data.size()) return fail("a bad text: " + line);
            v.type = 1;
            v.data = *str + std::string(1, '\0');
        } else if (data.rfind("dword:", 0) == 0) {
            const std::string digits = data.substr(6);
            if (digits.size() != 8) return fail("a bad dword: " + line);
            uint32_t number = 0;
            for (const char c : digits) {
                if (HexDigit(c) < 0) return fail("a bad dword: " + line);
                number = number * 16 + static_cast<uint32_t>(HexDigit(c));
            }
            v.type = 4;
            for (int b = 0; b < 4; ++b)
                v.data += static_cast<char>((number >> (8 * b)) & 0xFF);
        } else if (data.rfind("hex", 0) == 0) {
            size_t colon = data.find(':');
            if (colon == std::string::npos) return fail("a bad hex: " + line);
            const std::string kind = data.substr(3, colon - 3);
            if (kind.empty()) {
                v.type = 3;
            } else {
                if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')')
                    return fail("a bad hex type: " + line);
                uint64_t type = 0;
                for (size_t d = 1; d + 1 < kind.size(); ++d) {
                    if (HexDigit(kind[d]) < 0 || d > 8) return fail("a bad hex type: " + line);
                    type = type * 16 + static_cast<uint64_t>(HexDigit(kind[d]));
                }
                v.type = static_cast<uint32_t>(type);
            }
            std::string list = data.substr(colon + 1);
            // ",\" ends a line that goes on in the next one, which starts with blanks.
            while (!list.empty() && list.back() == '\\') {
                list.pop_back();
                if (list.empty() || list.back() != ',') return fail("a bad continuation: " + line);
                if (++i >= lines.size()) return fail("a continuation at the end");
                const std::string& next = lines[i];
                const size_t first = next.find_first_not_of(' ');
                if (first == 0 || first == std::string::npos)
                    return fail("a bad continuation line: " + next);
                list += next.substr(first);
            }
            auto bytes = HexList(list);
            if (!bytes) return fail("a bad hex list: " + line);
            v.data = *bytes;
        } else {
            return fail("unknown data: " + line);
        }
        values.push_back(std::move(v));
    }
    return values;
}

// Imports the values into the registry, keys created as needed, as "regedit /S" does.
inline void ApplyRegedit4(FakeRegistry& reg, const std::vector<ImportedValue>& values) {
    for (const ImportedValue& v : values)
        reg.SetValue(v.root, v.keyPath, v.name, v.type, v.data);
}

} // namespace ww::test
