#include "window/program_file.h"

#include <cstdio>

namespace ww {
namespace {

std::string TwoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

// The folder as the program's own path property reports it: without a trailing "\" except at
// a drive's root, where it is "D:\".
std::string AppPathOf(const std::string& programPath) {
    const size_t slash = programPath.find_last_of('\\');
    if (slash == std::string::npos) return {};
    std::string folder = programPath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

} // namespace

std::string ProgramFolderOf(const std::string& programPath) {
    std::string folder = AppPathOf(programPath);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ProgramNameOf(const std::string& programPath) {
    const size_t slash = programPath.find_last_of('\\');
    std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::string VersionLine(const std::string& programPath, const FileVersion& v) {
    return ProgramNameOf(programPath) + " " + std::to_string(v.major) + "." +
           std::to_string(v.minor) + "." + std::to_string(v.revision);
}

std::string DateLine(const LocalTime& t, const std::string& dateSeparator,
                     const std::string& timeSeparator) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", t.year);
    return TwoDigits(t.day) + dateSeparator + TwoDigits(t.month) + dateSeparator + year + " " +
           TwoDigits(t.hour) + timeSeparator + TwoDigits(t.minute) + timeSeparator +
           TwoDigits(t.second);
}

} // namespace ww
