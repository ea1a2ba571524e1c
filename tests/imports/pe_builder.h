#pragma once
// Builds small 32-bit program files in memory for the tests of the PE reader and the import
// check: a header, one section with the import and export tables, nothing to run.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace imports::testing {

struct PeLayout {
    uint16_t machine = 0x14C;
    uint16_t osMajor = 4, osMinor = 0;
    uint16_t subsystemMajor = 4, subsystemMinor = 0;
    bool dll = false;
    // Per library, its functions; "#N" imports ordinal N.
    std::vector<std::pair<std::string, std::vector<std::string>>> imports;
    // Exported names with their forwarder ("" for code of the file's own).
    std::vector<std::pair<std::string, std::string>> exports;
    bool delayImports = false;
    std::string manifest; // as resource type 24, id 1; none when empty
};

std::string BuildPe(const PeLayout& layout);

// Where BuildPe puts things, for tests that damage a file on purpose.
inline constexpr size_t kPeHeaderOffset = 0x40;
inline constexpr uint32_t kSectionRva = 0x1000;
inline constexpr size_t kSectionFileOffset = 0x200;

} // namespace imports::testing
