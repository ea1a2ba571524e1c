#include "win32/system_library.h"

namespace ww {

std::string SystemFilePath(const char* fileName) {
    char folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string path(folder, n);
    if (path.back() != '\\') path += '\\';
    return path + fileName;
}

HMODULE LoadSystemLibrary(const char* fileName) {
    const std::string path = SystemFilePath(fileName);
    if (path.empty()) return nullptr;
    // A missing library is an answer here, not a reason for the system's error box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    SetLastError(error);
    return module;
}

} // namespace ww
