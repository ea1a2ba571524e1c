#pragma once
// Every key and value of a registry, walked through the seam, for before/after comparisons.
#include <map>
#include <string>
#include <utility>

#include "platform/reg_key.h"
#include "seams/registry.h"

namespace ww::test {

// "ROOT\path" → (type, bytes) per value name; keys without values appear with an empty map.
using RegistrySnapshot =
    std::map<std::string, std::map<std::string, std::pair<uint32_t, std::string>>>;

inline void SnapshotKey(Registry& reg, HKey key, const std::string& name, RegistrySnapshot& out) {
    auto& values = out[name];
    for (uint32_t i = 0;; ++i) {
        char valueName[256];
        uint32_t nameSize = sizeof valueName - 1;
        uint8_t data[4096];
        uint32_t dataSize = sizeof data;
        uint32_t type = 0;
        if (reg.EnumValue(key, i, valueName, &nameSize, &type, data, &dataSize) != kErrorSuccess)
            break;
        values[std::string(valueName, nameSize)] = {
            type, std::string(reinterpret_cast<const char*>(data), dataSize)};
    }
    for (uint32_t i = 0;; ++i) {
        char subName[256] = {};
        if (reg.EnumKey(key, i, subName, sizeof subName) != kErrorSuccess) break;
        RegKey sub(reg);
        if (sub.Open(key, subName, kKeyRead) != kErrorSuccess) continue;
        SnapshotKey(reg, sub.get(), name + "\\" + subName, out);
    }
}

inline RegistrySnapshot Snapshot(Registry& reg) {
    RegistrySnapshot out;
    const std::pair<HKey, const char*> roots[] = {
        {kHkeyCurrentUser, "HKCU"}, {kHkeyLocalMachine, "HKLM"}, {kHkeyUsers, "HKU"}};
    for (const auto& [root, name] : roots)
        SnapshotKey(reg, root, name, out);
    return out;
}

} // namespace ww::test
