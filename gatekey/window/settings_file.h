#pragma once
// Settings.ini beside the program: its whole content is the address the Internet lamp probes.
#include "window/files.h"

#include <cstddef>
#include <string>

namespace gk {

inline constexpr const char* kDefaultInternetHost = "127.0.0.1";
// No address comes near this; a larger file is not read at all.
inline constexpr size_t kSettingsLimit = 64 * 1024;

std::string SettingsPathIn(const std::string& folder);

// The file's whole content unchanged; "127.0.0.1" when it is missing or cannot be read; empty
// (an address no probe accepts) when it is too large to hold one.
std::string ReadInternetHost(Files& files, const std::string& path);

} // namespace gk
