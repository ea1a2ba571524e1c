#pragma once
// The processor floor of the shipped files: the Pentium Pro's instruction set (i686). A Pentium,
// Pentium MMX, K6 or WinChip stops a program at its first instruction beyond what it has, so
// every instruction of a shipped file is checked against the floor: no MMX, SSE (any version),
// 3DNow!, AVX or later general instructions, and no MMX or vector register.
//
// The check reads the disassembly that i686-w64-mingw32-objdump -h -d prints for a file and the
// link map that the windows build writes for it (maps/<name>.map). The map tells which bytes of
// .text are code and which are the exception tables that the linker places there too, and names
// the function around each instruction; a function that reaches an instruction above the floor
// only after asking the processor (cpuid) may be allowed by name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace instructions {

// Why one line of objdump's disassembly ("  401000:\tmaxps  (%ebx),%xmm0") is above the floor:
// "maxps (SSE register %xmm0)", "emms (MMX, SSE or later instruction)"; nullopt for a line
// within it or no instruction at all.
std::optional<std::string> AboveFloor(std::string_view line);

// A named stretch of a file's .text: a function (the symbol that starts it) or an input section.
struct Region {
    uint32_t start = 0;
    uint32_t size = 0;
    std::string name; // the function, else the input section
    std::string file; // the object or library member it came from
    bool code = true; // false for the exception tables
};

// What a link map says of the output section .text.
struct TextMap {
    uint32_t start = 0, size = 0;
    std::vector<Region> regions; // ordered by start, not overlapping
};

// The .text of a GNU ld map; nullopt with the reason in `error` when the map has none.
std::optional<TextMap> ParseMap(std::string_view map, std::string* error);

// A function that may hold instructions above the floor, and why it never runs them on a
// processor that lacks them.
struct Allowed {
    const char* function;
    const char* why;
};

// What a check let pass: instructions above the floor in allowed functions, and bytes of the
// exception tables that disassemble as such instructions.
struct Passed {
    size_t allowed = 0;
    size_t tables = 0;
};

// One message per function of `disassembly` (objdump -h -d of the file `fileName`) outside the
// `allowed` ones that holds instructions above the floor, or per mismatch between file and map;
// `passed`, when given, adds up what was let pass.
std::vector<std::string> CheckCode(const std::string& fileName, std::string_view disassembly,
                                   const TextMap& map, const std::vector<Allowed>& allowed,
                                   Passed* passed = nullptr);

} // namespace instructions
