#pragma once
// Single-value registry access and the Windows family, as every module of wirewise uses them.
#include <cstdint>
#include <string>
#include <variant>

#include "app.h"
#include "seams/registry.h"

namespace ww {

// A value to write: text, or a number (written as its decimal text for the text types).
using RegValue = std::variant<std::string, long long>;

// Thrown by WriteRegValue when a type 4 value is no 32-bit integer; the caller's handler deals with
// it.
struct RegConversionError {
    std::string text;
};

// Reads one value as text (always set; "" unless true).
bool ReadRegValue(App& app, HKey root, const std::string& keyPath, const std::string& valueName,
                  std::string& text);
// Writes one value, creating the key when needed; on failure value becomes "" and false is
// returned.
bool WriteRegValue(App& app, HKey root, const std::string& keyPath, uint32_t type,
                   const std::string& valueName, RegValue& value);
// Classifies the running Windows, logs "OS = ..." as the version call names it and notes whether
// the platform is NT. Where the system really is another family (the program runs with a
// compatibility setting), logs "Compatibility mode: Windows NT <major>.<minor> build <n>" and
// classifies the real one.
OsFamily DetectOS(App& app);

} // namespace ww
