#pragma once
// The program's own file and the one file it writes.
#include <cstdint>
#include <string>
#include <string_view>

namespace ww {

// The major, minor and revision numbers of a program file's version resource.
struct FileVersion {
    int major = 0, minor = 0, revision = 0;
};

class Files {
  public:
    virtual ~Files() = default;
    // Full path of the running program file, e.g. "C:\Tools\wirewise.exe".
    virtual std::string ProgramPath() = 0;
    // Reads the running program file's own version resource: 0, or the Win32 error code.
    virtual uint32_t ProgramVersion(FileVersion& version) = 0;
    // Opens path for appending (creating it), writes bytes, closes it; false when any step fails.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;
};

} // namespace ww
