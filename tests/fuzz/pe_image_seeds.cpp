// Writes a few well-formed inputs for pe_image_fuzz into the folder given: small program and
// library files with imports by name and ordinal, exports and a forwarder.
#include <fstream>
#include <string>

#include "pe_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using imports::testing::PeLayout;
    PeLayout program;
    program.imports = {{"KERNEL32.dll", {"CloseHandle", "GetTickCount64", "#9"}},
                       {"version.dll", {"VerQueryValueA"}}};
    PeLayout library;
    library.dll = true;
    library.imports = {{"KERNEL32.dll", {"GetProcAddress"}}};
    library.exports = {{"GetAdaptersInfo", ""}, {"IpRenewAddress", "iphlpapi.IpRenewAddress"}};
    const std::string folder = argv[1];
    std::ofstream(folder + "/program.exe", std::ios::binary) << imports::testing::BuildPe(program);
    std::ofstream(folder + "/library.dll", std::ios::binary) << imports::testing::BuildPe(library);
    return 0;
}
