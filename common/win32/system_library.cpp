#include "common/win32/system_library.h"

namespace corvane {

std::string SystemFilePath(const char* fileName) {
    char folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string path(folder, n);
    if (path.back() != '\\') path += '\\';
    return path + fileName;
}

Module LoadSystemLibrary(const char* fileName) {
    const std::string path = SystemFilePath(fileName);
    if (path.empty()) return {};
    // A missing library is an answer here, not a reason for the system's error box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Module module(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    SetLastError(error);
    return module;
}

void KeepLaterLoadsInTheSystemFolder() {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (const auto setDefaultDirs =
            ProcAddress<SetDefaultDirsFn>(kernel, "SetDefaultDllDirectories"))
        setDefaultDirs(kSearchSystem32);
    if (const auto setDllDirectory = ProcAddress<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDllDirectory("");
}

} // namespace corvane
