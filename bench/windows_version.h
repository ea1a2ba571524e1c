#pragma once
// The Windows version a program runs as ("4.10" for Windows 98), which each timed program adds to
// its line: the benchmark checks that everything it times takes wirewise's road.
#include <windows.h>

#include <string>

inline std::string WindowsVersion() {
    const DWORD version = GetVersion();
    return std::to_string(LOBYTE(LOWORD(version))) + "." + std::to_string(HIBYTE(LOWORD(version)));
}
