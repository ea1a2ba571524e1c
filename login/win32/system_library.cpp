#include "win32/system_library.h"

#include <string>

namespace gk::win32 {

Module LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string path(folder, n);
    if (path.back() != '\\') path += '\\';
    path += fileName;
    // A missing library is an answer here, not a reason for the system's error box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Module module(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    SetErrorMode(oldMode);
    return module;
}

} // namespace gk::win32
