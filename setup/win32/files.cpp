#include "win32/files.h"

#include <windows.h>

#include "seams/codepage.h"
#include "win32/handle.h"

namespace ww {

std::string Win32Files::ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FromAnsi(std::string_view(path, n));
}

bool Win32Files::Append(const std::string& path, std::string_view bytes) {
    Handle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) != 0 &&
                    written == bytes.size();
    return file.Close() && ok;
}

} // namespace ww
