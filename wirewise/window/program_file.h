#pragma once
// What the setup window derives from the running program file's path and version.
#include <string>

#include "seams/clock.h"
#include "seams/files.h"

namespace ww {

// The folder of programPath, always ending in "\": "C:\Tools\x.exe" gives "C:\Tools\",
// "D:\x.exe" gives "D:\" (one backslash).
std::string ProgramFolderOf(const std::string& programPath);
// The file name without its extension: "C:\Tools\wirewise.exe" gives "wirewise".
std::string ProgramNameOf(const std::string& programPath);
// "<name> <major>.<minor>.<revision>", e.g. "wirewise 1.0.10".
std::string VersionLine(const std::string& programPath, const FileVersion& version);
// "dd/mm/yyyy hh:nn:ss" with the user's date and time separators.
std::string DateLine(const LocalTime& t, const std::string& dateSeparator,
                     const std::string& timeSeparator);

} // namespace ww
