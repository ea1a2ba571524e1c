#pragma once
// What both checks read: the program and library files a command line names, and their bytes.
#include <filesystem>
#include <string>
#include <vector>

namespace checks {

// The whole file; false when it cannot be read.
bool ReadFile(const std::filesystem::path& path, std::string* bytes);

// The files a path names (a folder: every .exe and .dll in it), in a stable order; empty when
// there are none.
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& path);

} // namespace checks
