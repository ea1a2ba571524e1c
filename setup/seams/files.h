#pragma once
// The program's own file and the one file it writes.
#include <string>
#include <string_view>

namespace ww {

class Files {
  public:
    virtual ~Files() = default;
    // Full path of the running program file, e.g. "C:\Tools\wirewise.exe".
    virtual std::string ProgramPath() = 0;
    // Opens path for appending (creating it), writes bytes, closes it; false when any step fails.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;
};

} // namespace ww
