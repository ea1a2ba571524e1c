#include "win32/win32_files.h"

#include "common/win32/codepage.h"
#include "common/win32/owners.h"

#include <windows.h>

namespace gk::win32 {

std::string Win32Files::ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD len = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (len == 0) return {};
        if (len < path.size()) {
            path.resize(len);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    // A drive root keeps its backslash ("C:\"); any other folder loses it.
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') {
        folder.pop_back();
    }
    return corvane::FromAnsi(folder);
}

bool Win32Files::Exists(const std::string& path) {
    WIN32_FIND_DATAA found{};
    const corvane::FindHandle find(FindFirstFileA(corvane::ToAnsi(path).c_str(), &found));
    if (!find) return false;
    constexpr DWORD notNormal =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (found.dwFileAttributes & notNormal) == 0;
}

ReadStatus Win32Files::ReadWhole(const std::string& path, size_t limit, std::string& text) {
    const corvane::File file(CreateFileA(corvane::ToAnsi(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ReadStatus::Failed;
    // GetFileSize, not GetFileSizeEx: Windows 9x and NT 4 have only the older call.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return ReadStatus::Failed;
    const unsigned long long size = (static_cast<unsigned long long>(high) << 32) | low;
    if (size > limit) return ReadStatus::TooLarge;
    std::string bytes(static_cast<size_t>(size), '\0');
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size())) {
        return ReadStatus::Failed;
    }
    text = corvane::FromAnsi(bytes);
    return ReadStatus::Ok;
}

} // namespace gk::win32
