#include "led/property_bag.h"

#include "common/text.h"
#include <algorithm>
#include <cctype>
#include <limits>

namespace gk {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string_view Trim(std::string_view text) {
    return corvane::Trim(text, corvane::kLineBlanks);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameKey(text.substr(0, prefix.size()), prefix);
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<int32_t> ParseInt32(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (StartsWithNoCase(text, "0x") || StartsWithNoCase(text, "&h")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f') {
            digit = static_cast<unsigned>(Lower(c) - 'a' + 10);
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    }
    if (negative) {
        if (value > uint64_t{1} << 31) return std::nullopt;
        return static_cast<int32_t>(-static_cast<int64_t>(value));
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<bool> ParseBool(std::string_view text) {
    text = Trim(text);
    if (SameKey(text, "true")) return true;
    if (SameKey(text, "false")) return false;
    if (const auto number = ParseInt32(text)) return *number != 0;
    return std::nullopt;
}

void PropertyBag::Write(std::string_view key, PropertyValue value) {
    for (auto& entry : entries_) {
        if (SameKey(entry.first, key)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(key), std::move(value));
}

const PropertyValue* PropertyBag::Find(std::string_view key) const {
    for (const auto& entry : entries_) {
        if (SameKey(entry.first, key)) return &entry.second;
    }
    return nullptr;
}

bool PropertyBag::Remove(std::string_view key) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const auto& entry) { return SameKey(entry.first, key); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

std::optional<bool> PropertyBag::ReadBool(std::string_view key) const {
    const PropertyValue* value = Find(key);
    if (value == nullptr) return std::nullopt;
    return std::visit(Overloaded{[](const std::string& s) { return ParseBool(s); },
                                 [](bool b) { return std::optional<bool>(b); },
                                 [](int32_t i) { return std::optional<bool>(i != 0); },
                                 [](const PicturePtr&) { return std::optional<bool>(); }},
                      *value);
}

std::optional<int32_t> PropertyBag::ReadInt32(std::string_view key) const {
    const PropertyValue* value = Find(key);
    if (value == nullptr) return std::nullopt;
    return std::visit(Overloaded{[](const std::string& s) { return ParseInt32(s); },
                                 [](bool b) { return std::optional<int32_t>(b ? -1 : 0); },
                                 [](int32_t i) { return std::optional<int32_t>(i); },
                                 [](const PicturePtr&) { return std::optional<int32_t>(); }},
                      *value);
}

std::optional<std::string> PropertyBag::ReadString(std::string_view key) const {
    const PropertyValue* value = Find(key);
    if (value == nullptr) return std::nullopt;
    return std::visit(
        Overloaded{[](const std::string& s) { return std::optional<std::string>(s); },
                   [](bool b) { return std::optional<std::string>(b ? "True" : "False"); },
                   [](int32_t i) { return std::optional<std::string>(std::to_string(i)); },
                   [](const PicturePtr&) { return std::optional<std::string>(); }},
        *value);
}

PicturePtr PropertyBag::ReadPicture(std::string_view key) const {
    const PropertyValue* value = Find(key);
    if (value == nullptr) return nullptr;
    if (const auto* picture = std::get_if<PicturePtr>(value)) return *picture;
    return nullptr;
}

PropertyBag ParseDescription(std::string_view text, std::string_view pictureKey,
                             const PictureLoader& loader) {
    text = corvane::UpToNul(text);
    PropertyBag bag;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (key.empty()) continue;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (!pictureKey.empty() && SameKey(key, pictureKey) && loader) {
            if (PicturePtr picture = loader(std::string(value))) {
                bag.Write(key, std::move(picture));
                continue;
            }
        }
        bag.Write(key, std::string(value));
    }
    return bag;
}

std::string FormatDescription(const PropertyBag& bag) {
    std::string text;
    for (const auto& [key, value] : bag.Entries()) {
        if (std::holds_alternative<PicturePtr>(value)) continue;
        const auto asText = bag.ReadString(key);
        // A line break has no place in the one-line form; such a value is left out whole.
        if (!asText || asText->find_first_of("\r\n") != std::string::npos) continue;
        // Quoted whenever blanks at either end would otherwise be lost.
        const bool quote =
            !asText->empty() && (Trim(*asText).size() != asText->size() || asText->front() == '"');
        text += key;
        text += '=';
        text += quote ? "\"" + *asText + "\"" : *asText;
        text += "\r\n";
    }
    return text;
}

} // namespace gk
