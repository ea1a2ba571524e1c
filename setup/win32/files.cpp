#include "win32/files.h"

#include <windows.h>

#include <vector>

#include "seams/codepage.h"
#include "win32/owners.h"
#include "win32/system_library.h"

namespace ww {

std::string Win32Files::ProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FromAnsi(std::string_view(path, n));
}

uint32_t Win32Files::ProgramVersion(FileVersion& version) {
    using InfoSizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const SystemLibrary library("version.dll");
    const auto infoSize = library.Proc<InfoSizeFn>("GetFileVersionInfoSizeA");
    const auto infoOf = library.Proc<InfoFn>("GetFileVersionInfoA");
    const auto query = library.Proc<QueryFn>("VerQueryValueA");
    if (!infoSize || !infoOf || !query) return library.Error();

    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return GetLastError();
    DWORD ignored = 0;
    const DWORD size = infoSize(path, &ignored);
    if (size == 0) return GetLastError();
    std::vector<char> data(size);
    if (!infoOf(path, 0, size, data.data())) return GetLastError();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT fixedSize = 0;
    if (!query(data.data(), "\\", reinterpret_cast<void**>(&info), &fixedSize) || !info ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.revision = LOWORD(info->dwFileVersionLS);
    return 0;
}

// Plain write access and a move to the end: Windows 9x ignores the append-only right, so a file
// opened with that right alone cannot be written there. Writers are shared too: a viewer or
// support tool that holds the log open with write access would otherwise switch logging off for
// the rest of the run (FILE_SHARE_DELETE is left out: Windows 9x refuses it).
bool Win32Files::Append(const std::string& path, std::string_view bytes) {
    File file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // The failure value is also a position (a log of 4 GiB less one byte), and opening a file
    // that exists leaves ERROR_ALREADY_EXISTS behind: only a fresh error code tells them apart.
    SetLastError(NO_ERROR);
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) != 0 &&
                    written == bytes.size();
    return file.Close() && ok;
}

bool Win32Files::WriteNew(const std::string& path, std::string_view bytes) {
    File file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    // On the disk before the file gets its real name: a crash leaves no half file under it.
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) != 0 &&
                    written == bytes.size() && FlushFileBuffers(file.get()) != 0;
    if (file.Close() && ok) return true;
    DeleteFileA(path.c_str());
    return false;
}

bool Win32Files::Rename(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32Files::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::Delete(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::string Win32Files::TempFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH + 1, path);
    if (n == 0 || n > MAX_PATH) return "";
    std::string folder = FromAnsi(std::string_view(path, n));
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

} // namespace ww
