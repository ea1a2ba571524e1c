#pragma once
#include <map>
#include <set>
#include <string>

#include "seams/files.h"

namespace ww::test {

// Files in memory; paths listed in locked refuse to open.
class FakeFiles final : public Files {
  public:
    std::string programPath = "C:\\Tools\\wirewise.exe";
    FileVersion version{1, 0, 10};
    uint32_t versionError = 0; // non-zero: the version resource cannot be read
    std::map<std::string, std::string> files;
    std::set<std::string> locked;
    int appendCalls = 0;

    std::string ProgramPath() override { return programPath; }
    uint32_t ProgramVersion(FileVersion& v) override {
        if (versionError == 0) v = version;
        return versionError;
    }
    bool Append(const std::string& path, std::string_view bytes) override {
        ++appendCalls;
        if (locked.count(path)) return false;
        files[path] += bytes;
        return true;
    }
};

} // namespace ww::test
