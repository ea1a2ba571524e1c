// Runs one registry search with the program's own search class on the Win32 registry and prints
// its events, one per line, for the end-to-end cases:
//   platform_probe ROOT SUBKEY FLAGS TEXT     ROOT: a hexadecimal handle such as 80000002, or 0
// Lines: "found N ROOT KEY = VALUE" and, last, "finished REASON"; NULs in a value show as <NUL>.
//   platform_probe --to-ansi HEX              the program's text (UTF-8 bytes in hexadecimal) in
//                                             the ANSI code page, as hexadecimal bytes
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app.h"
#include "platform/reg_search.h"
#include "seams/codepage.h"
#include "win32/registry.h"
#include "win32/system.h"

namespace {

std::string Visible(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == '\0' ? std::string("<NUL>") : std::string(1, c);
    return out;
}

struct Printer final : ww::RegSearchEvents {
    void cReg_SearchFound(const std::string& root, const std::string& key, const std::string& value,
                          int32_t found) override {
        std::printf("found %d %s %s = %s\n", static_cast<int>(found), root.c_str(),
                    Visible(key).c_str(), Visible(value).c_str());
    }
    void cReg_SearchFinished(int32_t reason) override {
        std::printf("finished %d\n", static_cast<int>(reason));
    }
};

int ToAnsiHex(const char* hex) {
    std::string utf8;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2)
        utf8 += static_cast<char>(std::strtoul(std::string(p, 2).c_str(), nullptr, 16));
    for (const char c : ww::ToAnsi(utf8))
        std::printf("%02x ", static_cast<unsigned char>(c));
    std::printf("\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--to-ansi") return ToAnsiHex(argv[2]);
    if (argc != 5) {
        std::fprintf(stderr, "usage: platform_probe ROOT SUBKEY FLAGS TEXT\n");
        return 2;
    }
    ww::Win32Registry registry;
    ww::Win32System system;
    ww::App app;
    app.reg = &registry;
    app.sys = &system;
    Printer printer;
    ww::cRegSearch search(app, printer);
    search.RootKey = static_cast<ww::HKey>(std::strtoul(argv[1], nullptr, 16));
    search.Subkey = argv[2];
    search.SearchFlags = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
    search.SearchString = argv[4];
    search.DoSearch();
    return 0;
}
