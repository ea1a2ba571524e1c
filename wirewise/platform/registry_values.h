#pragma once
// Single-value registry access as every module of wirewise uses it: by the key's path, or on a
// key the caller holds open for several values.
#include <cstdint>
#include <string>

#include "app.h"
#include "platform/reg_key.h"
#include "seams/registry.h"

namespace ww {

// Opens the key for reading and writing its values, as ReadRegValue does: false on a registry
// status, and an internal failure logged as ReadRegValue logs it.
bool OpenRegKey(App& app, RegKey& key, HKey root, const std::string& keyPath);
// Reads one value as text (always set; "" unless true). An internal failure is logged as
// "Error in reading regkey: <number>, <description>"; a registry status alone logs nothing.
bool ReadRegValue(App& app, HKey root, const std::string& keyPath, const std::string& valueName,
                  std::string& text);
bool ReadRegValue(App& app, const RegKey& key, const std::string& valueName, std::string& text);
// Writes one value, creating the key when needed; on failure value becomes "" and false is
// returned. A type that RegKey::Write does not store writes nothing and answers whether the key
// opened.
bool WriteRegValue(App& app, HKey root, const std::string& keyPath, uint32_t type,
                   const std::string& valueName, RegValue& value);
bool WriteRegValue(const RegKey& key, uint32_t type, const std::string& valueName, RegValue& value);

} // namespace ww
