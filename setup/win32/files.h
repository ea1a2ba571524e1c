#pragma once
#include "seams/files.h"

namespace ww {

class Win32Files final : public Files {
  public:
    std::string ProgramPath() override;
    uint32_t ProgramVersion(FileVersion& version) override;
    bool Append(const std::string& path, std::string_view bytes) override;
};

} // namespace ww
