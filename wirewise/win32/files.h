#pragma once
#include "seams/files.h"

namespace ww {

class Win32Files final : public Files {
  public:
    std::string ProgramPath() override;
    uint32_t ProgramVersion(FileVersion& version) override;
    bool Append(const std::string& path, std::string_view bytes) override;
    bool WriteNew(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Exists(const std::string& path) override;
    bool Delete(const std::string& path) override;
    std::string TempFolder() override;
    std::string CommonDataFolder() override;
    bool CreateClosedFolder(const std::string& path) override;
    uint32_t Attributes(const std::string& path) override;
    bool ReadSecurity(const std::string& path, std::string* descriptor) override;
};

} // namespace ww
