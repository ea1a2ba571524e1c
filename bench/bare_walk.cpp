// The floor a registry search is measured against: a depth-first walk that opens every key once
// (by its path below HKEY_LOCAL_MACHINE), reads every value into a 4096-byte buffer, enumerates
// the sub-keys and compares every name and text with TEXT without regard to case.
//   bench_bare_walk SUBKEY TEXT
// Prints "bare walk MS ms, K keys, V values, M matches, as Windows X.Y".
#include <windows.h>

#include <cstdio>
#include <string>

#include "windows_version.h"

namespace {

struct Walk {
    std::string text; // upper-cased
    long keys = 0, values = 0, matches = 0;
    char name[260];
    BYTE data[4096];
};

char Fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Same(const Walk& w, const char* s, size_t n) {
    if (n != w.text.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (Fold(s[i]) != w.text[i]) return false;
    return true;
}

size_t Length(const char* s, size_t max) {
    size_t n = 0;
    while (n < max && s[n] != '\0')
        ++n;
    return n;
}

void WalkKey(Walk& w, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    ++w.keys;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof w.name, dataSize = sizeof w.data, type = 0;
        if (RegEnumValueA(key, i, w.name, &nameSize, nullptr, &type, w.data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        ++w.values;
        if (Same(w, w.name, Length(w.name, sizeof w.name))) ++w.matches;
        const auto* text = reinterpret_cast<const char*>(w.data);
        if (Same(w, text, Length(text, dataSize))) ++w.matches;
    }
    for (DWORD i = 0;; ++i) {
        char sub[260];
        if (RegEnumKeyA(key, i, sub, sizeof sub) != ERROR_SUCCESS) break;
        if (Same(w, sub, Length(sub, sizeof sub))) ++w.matches;
        WalkKey(w, path + "\\" + sub);
    }
    RegCloseKey(key);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_bare_walk SUBKEY TEXT\n");
        return 2;
    }
    Walk w;
    for (const char* p = argv[2]; *p != '\0'; ++p)
        w.text += Fold(*p);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    WalkKey(w, argv[1]);
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    std::printf("bare walk %.0f ms, %ld keys, %ld values, %ld matches, as Windows %s\n", ms, w.keys,
                w.values, w.matches, WindowsVersion().c_str());
    return 0;
}
