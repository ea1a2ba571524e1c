#pragma once
// A window description keeps each lamp's saved properties as named, typed values. Keys match
// without regard to case; a value of the wrong kind converts where it sensibly can and is
// otherwise reported as unconvertible, so the reader can fall back to its default.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "led/canvas.h"

namespace gk {

using PicturePtr = std::shared_ptr<Picture>;
using PropertyValue = std::variant<std::string, bool, int32_t, PicturePtr>;

class PropertyBag {
  public:
    // Replaces the value of an existing key (any case) or appends the key at the end.
    void Write(std::string_view key, PropertyValue value);
    const PropertyValue* Find(std::string_view key) const;
    bool Remove(std::string_view key);
    const std::vector<std::pair<std::string, PropertyValue>>& Entries() const { return entries_; }

    // Typed reads: nullopt when the key is absent or its value cannot be converted.
    std::optional<bool> ReadBool(std::string_view key) const;
    std::optional<int32_t> ReadInt32(std::string_view key) const;
    std::optional<std::string> ReadString(std::string_view key) const;
    PicturePtr ReadPicture(std::string_view key) const;

  private:
    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

bool SameKey(std::string_view a, std::string_view b);

// Text rules for values held as text: booleans are True/False in any case or an integer
// (non-zero is true); integers are decimal with an optional sign, or hexadecimal after 0x or &H,
// and must fit in 32 bits (signed or unsigned, so 0x8000000F may be written as 2147483663).
std::optional<bool> ParseBool(std::string_view text);
std::optional<int32_t> ParseInt32(std::string_view text);

// Turns a picture reference held as text (a resource name, say) into a picture; null if it can't.
using PictureLoader = std::function<PicturePtr(const std::string& reference)>;

// The text form of a description: one "key=value" per line, blanks around key and value ignored,
// a value in double quotes taken literally between them, lines starting with ';' or '#' and lines
// without '=' ignored, a NUL ending the text. Values stay text, except those of `pictureKey`, which
// `loader` (if any) turns into pictures where it can.
PropertyBag ParseDescription(std::string_view text, std::string_view pictureKey = {},
                             const PictureLoader& loader = nullptr);
// The reverse, for text, boolean and integer values; pictures and text holding a line break have
// no one-line form and are left out.
std::string FormatDescription(const PropertyBag& bag);

} // namespace gk
