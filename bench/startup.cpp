// Start-up to window: starts a program, waits until a visible top-level window of it reads
// CAPTION, prints the time that took, then closes the window and waits for the program to end.
//   bench_startup CAPTION COMMANDLINE
// Prints "window MS ms, as Windows X.Y" (the version it runs as itself); exits 1 when no window
// came within a minute or the program did not end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "windows_version.h"

namespace {

// Wine under full emulation (scripts/wine-env) takes this many times longer for every step.
DWORD TimeScale() {
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("WINE_ENV_TIME_SCALE", text, sizeof text);
    const int scale = n > 0 && n < sizeof text ? std::atoi(text) : 1;
    return scale > 0 ? static_cast<DWORD>(scale) : 1;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The program's visible window with the caption, or none yet.
HWND FindShown(const char* caption, DWORD processId) {
    HWND window = FindWindowA(nullptr, caption);
    if (!window || !IsWindowVisible(window)) return nullptr;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId ? window : nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_startup CAPTION COMMANDLINE\n");
        return 2;
    }
    std::string commandLine = argv[2];
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        std::fprintf(stderr, "cannot start %s, error %lu\n", argv[2], GetLastError());
        return 1;
    }
    // Every look asks the window system, which also serves the program being timed: the looks
    // thin out as the wait grows, keeping the error near 1 % of the time measured.
    HWND window = nullptr;
    for (;;) {
        window = FindShown(argv[1], pi.dwProcessId);
        QueryPerformanceCounter(&now);
        const double waited = Milliseconds(start, now);
        if (window || waited > 60000.0 * TimeScale()) break;
        const DWORD pause = waited < 200    ? 2
                            : waited < 2000 ? static_cast<DWORD>(waited / 100)
                                            : 20;
        if (WaitForSingleObject(pi.hProcess, pause) == WAIT_OBJECT_0) break;
    }
    int status = 0;
    if (window) {
        std::printf("window %.0f ms, as Windows %s\n", Milliseconds(start, now),
                    WindowsVersion().c_str());
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr, "no window \"%s\"\n", argv[1]);
        status = 1;
    }
    if (WaitForSingleObject(pi.hProcess, 30000u * TimeScale()) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end\n");
        TerminateProcess(pi.hProcess, 1);
        status = 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return status;
}
