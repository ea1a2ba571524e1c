#pragma once
// Libraries beyond the few that every Windows keeps in its known-library list are never imported
// by name: the loader would look for them in the program's folder first, and a file of that name
// lying beside the program would run with its rights. They are loaded here by their full path in
// the system folder instead, which also lets a program start on a Windows that lacks one of them
// (netapi32 on Windows 9x). The same goes for functions that only some of the supported Windows
// versions export: they are looked up at run time.
#include <windows.h>

#include <cstring>
#include <string>

#include "common/win32/owners.h"

namespace corvane {

// The full path of a file in the system folder; empty when the folder cannot be had.
std::string SystemFilePath(const char* fileName);

// Loads a file from the system folder, whose own imports are looked for there first as well;
// empty when it is not there, with the loader's error as the last error.
Module LoadSystemLibrary(const char* fileName);

// An export of a module as its real type; null when the module or the export is missing.
template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
    const FARPROC proc = module != nullptr ? GetProcAddress(module, name) : nullptr;
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof proc);
    std::memcpy(&fn, &proc, sizeof fn);
    return fn;
}

// A library of the system folder, loaded for as long as the object lives.
class SystemLibrary {
  public:
    explicit SystemLibrary(const char* fileName)
        : module_(LoadSystemLibrary(fileName)), error_(module_ ? 0 : GetLastError()) {}
    template <typename Fn> Fn Proc(const char* name) const {
        return ProcAddress<Fn>(module_.get(), name);
    }
    // Why Proc gives null: the error of the load, or ERROR_PROC_NOT_FOUND when it loaded.
    DWORD Error() const { return module_ ? ERROR_PROC_NOT_FOUND : error_; }

  private:
    Module module_;
    DWORD error_;
};

// Libraries that Windows and its components load later by bare name (an embedded browser brings
// many) are looked for in the system folder only, never in the program's folder or the current
// one, where a planted file would run inside the program. Windows 8 (7 with its loader update)
// takes the first call, XP SP1 and later the second; older systems keep their search order.
void KeepLaterLoadsInTheSystemFolder();

} // namespace corvane
