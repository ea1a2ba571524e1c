#pragma once
// A reader of the parts of a 32-bit Windows program or library file that decide whether a
// Windows version's loader accepts it: the versions in its header, the functions it imports and
// what it exports. It reads bytes only and never trusts them: every offset, count and name is
// checked against the file before use.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pe {

struct Import {
    std::string library;
    std::string function; // empty for an import by ordinal
    uint16_t ordinal = 0; // only for an import by ordinal
};

struct Export {
    std::string name;      // "#" + ordinal for an export without a name
    std::string forwarder; // "library.function" when the loader is sent on to another library
};

struct Image {
    bool dll = false;
    uint16_t machine = 0;
    uint16_t osMajor = 0, osMinor = 0;
    uint16_t subsystemMajor = 0, subsystemMinor = 0;
    uint16_t subsystem = 0;
    std::vector<Import> imports;
    std::vector<Export> exports;
    bool delayImports = false; // a table of imports bound on first use, which the check can't see
    std::string manifest;      // the embedded manifest (resource type 24), "" when none
};

inline constexpr uint16_t kMachineI386 = 0x14C;

// The image in `bytes`; nullopt with the reason in `error` when they are no 32-bit image that
// can be followed to its end.
std::optional<Image> ReadImage(std::string_view bytes, std::string* error);

} // namespace pe
