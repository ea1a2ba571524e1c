// One search of wirewise's own search class over HKEY_LOCAL_MACHINE\SUBKEY on the Win32 registry,
// as the Windows 9x adapter scan runs it: value contents, whole text.
//   bench_search SUBKEY TEXT
// Prints "search MS ms, F found, reason R, as Windows X.Y".
#include <windows.h>

#include <cstdio>

#include "app.h"
#include "platform/reg_search.h"
#include "win32/registry.h"
#include "win32/system.h"
#include "windows_version.h"

namespace {

struct Counter final : ww::RegSearchEvents {
    long found = 0;
    int32_t reason = -1;
    void cReg_SearchFound(const std::string&, const std::string&, const std::string&,
                          int32_t) override {
        ++found;
    }
    void cReg_SearchFinished(int32_t lReason) override { reason = lReason; }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_search SUBKEY TEXT\n");
        return 2;
    }
    ww::Win32Registry registry;
    ww::Win32System system;
    ww::App app;
    app.reg = &registry;
    app.sys = &system;
    Counter counter;
    ww::cRegSearch search(app, counter);
    search.RootKey = ww::kHkeyLocalMachine;
    search.Subkey = argv[1];
    search.SearchFlags = ww::kSearchValueContents | ww::kSearchWholeText;
    search.SearchString = argv[2];
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    search.DoSearch();
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    std::printf("search %.0f ms, %ld found, reason %d, as Windows %s\n", ms, counter.found,
                static_cast<int>(counter.reason), WindowsVersion().c_str());
    return 0;
}
