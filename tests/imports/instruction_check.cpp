// instruction_check OBJDUMP MAPS PATH...
//
// Checks every program and library file named (a folder stands for every .exe and .dll in it)
// against the processor floor, i686: its code, as OBJDUMP disassembles it, must hold no MMX,
// SSE, 3DNow!, AVX or later instruction outside the functions allowed below. MAPS is the folder
// of the link maps the windows build writes (maps/<name>.map). Prints one line per fault and
// exits 1, else a summary and exits 0.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "instruction_rules.h"
#include "program_files.h"

namespace fs = std::filesystem;

using checks::FilesOf;
using checks::ReadFile;

namespace {

// Functions that hold instructions above the floor and run them only after cpuid has shown the
// processor has them; each with its reason, as a row of the import table has. All come from
// libstdc++ (Debian's build for the Pentium Pro): the programs' own code, built with
// -march=i686, and mingw-w64's start-up code have none.
const std::vector<instructions::Allowed> kAllowed = {
    {"_ZNSt12_GLOBAL__N_112__x86_rdrandEPv",
     "std::random_device's RDRAND source: chosen only where cpuid shows RDRAND"},
    {"_ZNSt12_GLOBAL__N_112__x86_rdseedEPv",
     "std::random_device's RDSEED source: chosen only where cpuid shows RDSEED"},
    {"_ZNSt12_GLOBAL__N_119__x86_rdseed_rdrandEPv",
     "std::random_device's RDSEED source with RDRAND behind it: chosen only where cpuid shows "
     "both"},
};

// A word for the shell, whatever it holds.
std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// objdump's section table and disassembly of a file; false when objdump fails.
bool Disassemble(const std::string& objdump, const fs::path& file, std::string* text) {
    const std::string command =
        Quoted(objdump) + " -h -d --no-show-raw-insn " + Quoted(file.string()) + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    std::array<char, 65536> buffer;
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text->append(buffer.data(), n);
    return pclose(pipe) == 0;
}

size_t CountInstructions(const std::string& disassembly) {
    size_t count = 0;
    for (size_t at = disassembly.find(":\t"); at != std::string::npos;
         at = disassembly.find(":\t", at + 2))
        ++count;
    return count;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 3) {
        std::cerr << "usage: instruction_check OBJDUMP MAPS PATH...\n";
        return 2;
    }
    std::vector<std::string> faults;
    size_t files = 0, scanned = 0;
    instructions::Passed passed;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::vector<fs::path> named = FilesOf(args[i]);
        if (named.empty()) faults.push_back(args[i] + ": no program or library file there");
        for (const fs::path& path : named) {
            const std::string name = path.filename().string();
            const fs::path mapPath = fs::path(args[1]) / (path.stem().string() + ".map");
            std::string mapText, error, disassembly;
            if (!ReadFile(mapPath, &mapText)) {
                faults.push_back(name + ": its link map " + mapPath.string() + " cannot be read");
                continue;
            }
            const auto map = instructions::ParseMap(mapText, &error);
            if (!map) {
                faults.push_back(name + ": its link map " + mapPath.string() + " has " + error);
                continue;
            }
            if (!Disassemble(args[0], path, &disassembly)) {
                faults.push_back(name + ": " + args[0] + " cannot disassemble it");
                continue;
            }
            ++files;
            scanned += CountInstructions(disassembly);
            const auto found = instructions::CheckCode(name, disassembly, *map, kAllowed, &passed);
            faults.insert(faults.end(), found.begin(), found.end());
        }
    }
    for (const std::string& fault : faults)
        std::cout << fault << "\n";
    if (!faults.empty()) return 1;
    std::cout << "instruction check: " << files << " files, " << scanned
              << " lines disassembled, no instruction above the i686 floor (Pentium Pro) but "
              << passed.allowed << " in the functions allowed; " << passed.tables
              << " more in exception tables, which are no code\n";
    return 0;
}
