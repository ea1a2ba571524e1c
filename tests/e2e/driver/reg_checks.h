#pragma once
// A registry value as "reg query" shows its data, read by the driver itself: one process for all
// of a case's checks instead of one reg.exe each, which costs seconds apiece under emulation.
#include <string>

// The data of VALUE under KEY ("HKLM\...", "HKU\...", "HKCU\..." or the long root names) as
// reg.exe prints it: REG_SZ and REG_EXPAND_SZ as text, REG_DWORD as 0x plus lower-case hex,
// REG_MULTI_SZ as its strings joined by the two characters \0, anything else as upper-case hex
// bytes; empty where the key or the value is missing, as reg.exe then prints no data line.
std::string RegQueryText(const std::string& key, const std::string& value);
