#pragma once
// The program folder and Settings.ini through the ANSI file functions.
#include "window/files.h"

namespace gk::win32 {

class Win32Files final : public Files {
  public:
    std::string ProgramFolder() override;
    bool Exists(const std::string& path) override;
    ReadStatus ReadWhole(const std::string& path, size_t limit, std::string& text) override;
};

} // namespace gk::win32
