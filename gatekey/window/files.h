#pragma once
// The program's folder and the one file it reads. Paths and text are UTF-8; the Win32 side
// converts to and from the ANSI code page.
#include <cstddef>
#include <string>

namespace gk {

enum class ReadStatus { Ok, Failed, TooLarge };

class Files {
  public:
    // The running program's folder without the file name, e.g. "C:\Tools" or "C:\".
    virtual std::string ProgramFolder() = 0;
    // A lookup with normal attributes: hidden and system files and folders are not found.
    virtual bool Exists(const std::string& path) = 0;
    // The whole file as text; TooLarge (nothing read) when it holds more than limit bytes.
    virtual ReadStatus ReadWhole(const std::string& path, size_t limit, std::string& text) = 0;

  protected:
    ~Files() = default;
};

} // namespace gk
