#include "win32/files.h"

#include <windows.h>

#include <vector>

#include "seams/codepage.h"
#include "win32/handle.h"

namespace ww {

std::string Win32Files::ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FromAnsi(std::string_view(path, n));
}

uint32_t Win32Files::ProgramVersion(FileVersion& version) {
    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return GetLastError();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return GetLastError();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return GetLastError();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.revision = LOWORD(info->dwFileVersionLS);
    return 0;
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
