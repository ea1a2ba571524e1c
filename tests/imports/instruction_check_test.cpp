// The processor floor check: which instructions lie above i686, how a link map divides .text
// into functions and exception tables, and the faults it reports.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instruction_rules.h"

namespace instructions {
namespace {

TEST(AboveFloor, TellsPentiumProInstructionsFromLaterOnes) {
    const struct {
        const char* line;
        const char* reason; // null: within the floor
    } cases[] = {
        {"  401000:\tmov    %eax,%ebx", nullptr},
        {"  401002:\tcmovne %edx,%eax", nullptr}, // the Pentium Pro's own
        {"  401005:\tfcomip %st(1),%st", nullptr},
        {"  401007:\trep stos %eax,%es:(%edi)", nullptr},
        {"  401009:\tlock cmpxchg8b (%esi)", nullptr},
        {"  40100c:\tcpuid", nullptr},
        {"  40100e:\tcall   *0x47f0c4", nullptr},
        {"  401014:\tmovl   $0x0,0x4(%esp)", nullptr},
        {"  401018:\t(bad)", nullptr},
        {"00401000 <.text>:", nullptr},
        {"Disassembly of section .text:", nullptr},
        {"  40101a:\tmovd   %eax,%xmm0", "movd (SSE register %xmm0)"},
        {"  40101e:\tpaddq  %xmm0,%xmm0", "paddq (SSE register %xmm0)"},
        {"  401022:\tmaxps  (%ebx),%xmm12", "maxps (SSE register %xmm12)"},
        {"  401026:\tpshufw $0x5,0x10(%ebp),%mm1", "pshufw (MMX register %mm1)"},
        {"  40102b:\tpfadd  %mm2,%mm3", "pfadd (MMX register %mm2)"}, // 3DNow!
        {"  40102f:\tvaddps %ymm1,%ymm2,%ymm3", "vaddps (AVX register %ymm1)"},
        {"  401033:\temms", "emms (MMX, SSE or later instruction)"},
        {"  401035:\tfemms", "femms (MMX, SSE or later instruction)"},
        {"  401037:\tsfence", "sfence (MMX, SSE or later instruction)"},
        {"  40103a:\tprefetchnta (%eax)", "prefetchnta (MMX, SSE or later instruction)"},
        {"  40103d:\tldmxcsr 0x4(%esp)", "ldmxcsr (MMX, SSE or later instruction)"},
        {"  401042:\tfisttpll (%esp)", "fisttpll (MMX, SSE or later instruction)"},
        {"  401045:\tpopcnt %eax,%edx", "popcnt (MMX, SSE or later instruction)"},
        {"  401049:\tlock movntil %eax,(%ecx)", "movntil (MMX, SSE or later instruction)"},
        {"  40104d:\tmovnti %eax,(%ecx)", "movnti (MMX, SSE or later instruction)"},
        {"  401050:\tcrc32b %al,%edx", "crc32b (MMX, SSE or later instruction)"},
        {"  401054:\trdrand %eax", "rdrand (MMX, SSE or later instruction)"},
        {"  401057:\ttzcnt  %eax,%eax", nullptr}, // rep bsf: an older processor runs bsf
        {"  40105b:\tlzcnt  %eax,%eax", "lzcnt (MMX, SSE or later instruction)"}, // bsr: not alike
    };
    for (const auto& c : cases) {
        const auto reason = AboveFloor(c.line);
        if (c.reason == nullptr)
            EXPECT_FALSE(reason) << c.line << ": " << *reason;
        else
            EXPECT_EQ(reason.value_or("within the floor"), c.reason) << c.line;
    }
}

// The shape of GNU ld's map: the discarded sections first, then the script with the output
// section .text, its input sections (a long name on a line of its own), their symbols, the
// script's own assignments and the exception tables at the end.
constexpr const char* kMap = R"(Archive member included to satisfy reference by file (symbol)

Discarded input sections

 .text          0x00000000       0x10 /tmp/gone.o

Memory Configuration

Linker script and memory map

                0x00400000                __image_base__ = 0x400000
.text           0x00401000      0x200
 *(.text)
 .text          0x00401000       0x80 /usr/lib/crt2.o
                0x00401000                __text_start__ = .
                0x00401010                WinMainCRTStartup
                0x00401040                atexit
 *fill*         0x00401080        0x0
 .text$_ZN2ww5ParseERKSsi
                0x00401080       0x40 setup/CMakeFiles/core.dir/parse.cpp.obj
                0x00401080                ww::Parse(std::string const&, int)
                0x004010a0                ww::Table::operator=(ww::Table const&)
 .text$_ZN2ww4OnlyEv
                0x004010c0       0x20 setup/CMakeFiles/core.dir/only.cpp.obj
 .text          0x004010e0       0x20 /usr/lib/libgcc.a(cpuinfo.o)
 .text$_ZNSt12_GLOBAL__N_112__x86_rdrandEPv
                0x00401100       0x40 /usr/lib/libstdc++.a(random.o)
                [!provide]                        PROVIDE (etext = .)
 *(.gcc_except_table)
 .gcc_except_table
                0x00401140       0xc0 setup/CMakeFiles/core.dir/parse.cpp.obj

.data           0x00402000       0x10
 .data          0x00402000       0x10 /usr/lib/crt2.o
                0x00402000                data_symbol
)";

TEST(ParseMap, DividesTextIntoFunctionsAndExceptionTables) {
    std::string error;
    const auto map = ParseMap(kMap, &error);
    ASSERT_TRUE(map) << error;
    EXPECT_EQ(map->start, 0x401000u);
    EXPECT_EQ(map->size, 0x200u);
    const struct {
        uint32_t start, size;
        const char* name;
        const char* file;
        bool code;
    } expected[] = {
        {0x401000, 0x10, ".text", "crt2.o", true}, // before the first symbol: the section
        {0x401010, 0x30, "WinMainCRTStartup", "crt2.o", true},
        {0x401040, 0x40, "atexit", "crt2.o", true},
        {0x401080, 0x20, "ww::Parse(std::string const&, int)", "parse.cpp.obj", true},
        {0x4010a0, 0x20, "ww::Table::operator=(ww::Table const&)", "parse.cpp.obj", true},
        {0x4010c0, 0x20, "_ZN2ww4OnlyEv", "only.cpp.obj", true}, // named by its section
        {0x4010e0, 0x20, ".text", "libgcc.a(cpuinfo.o)", true},
        {0x401100, 0x40, "_ZNSt12_GLOBAL__N_112__x86_rdrandEPv", "libstdc++.a(random.o)", true},
        {0x401140, 0xc0, ".gcc_except_table", "parse.cpp.obj", false},
    };
    ASSERT_EQ(map->regions.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Region& r = map->regions[i];
        const auto& e = expected[i];
        EXPECT_EQ(r.start, e.start) << i;
        EXPECT_EQ(r.size, e.size) << i;
        EXPECT_EQ(r.name, e.name) << i;
        EXPECT_EQ(r.file, e.file) << i;
        EXPECT_EQ(r.code, e.code) << i;
    }
}

TEST(ParseMap, RefusesMapsWithoutText) {
    const struct {
        const char* map;
        const char* error;
    } cases[] = {
        {"", "no memory map in it"},
        {"Linker script and memory map\n.data 0x00402000 0x10\n", "no .text section in it"},
        {"Linker script and memory map\n.text\n", "no address and size on the line of .text"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseMap(c.map, &error)) << c.map;
        EXPECT_EQ(error, c.error) << c.map;
    }
}

constexpr const char* kHeader = R"(
x.exe:     file format pei-i386

Sections:
Idx Name          Size      VMA       LMA       File off  Algn
  0 .text         00000200  00401000  00401000  00000400  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE, DATA
  1 .data         00000010  00402000  00402000  00000600  2**2

Disassembly of section .text:

00401000 <.text>:
)";

std::vector<std::string> Check(const std::string& code, const std::vector<Allowed>& allowed = {}) {
    std::string error;
    const auto map = ParseMap(kMap, &error);
    EXPECT_TRUE(map) << error;
    return CheckCode("x.exe", std::string(kHeader) + code, *map, allowed);
}

TEST(CheckCode, NamesEachFunctionAboveTheFloorOnce) {
    const std::string code = "  401010:\tpush   %ebp\n"
                             "  401011:\tcmove  %eax,%edx\n"
                             "  401090:\tmovd   %eax,%xmm0\n"
                             "  401094:\tpaddq  %xmm0,%xmm0\n"
                             "  4010c4:\temms\n";
    EXPECT_EQ(Check(code),
              (std::vector<std::string>{
                  "x.exe: ww::Parse(std::string const&, int) (parse.cpp.obj) has 2 "
                  "instructions above the i686 floor, the first at 0x401090: movd (SSE register "
                  "%xmm0)",
                  "x.exe: _ZN2ww4OnlyEv (only.cpp.obj) has 1 instruction above the i686 floor, "
                  "the first at 0x4010c4: emms (MMX, SSE or later instruction)"}));
}

TEST(CheckCode, PassesExceptionTablesAllowedFunctionsAndPlainCode) {
    const std::string code = "  401010:\tpush   %ebp\n"
                             "  4010e4:\tcpuid\n"
                             "  4010f0:\tmovaps %xmm0,%xmm1\n" // after the processor said yes
                             "  401104:\trdrand %eax\n"
                             "  401150:\tmaxps  (%ebx),%xmm0\n" // bytes of a table, not code
                             "  4011f0:\tpshufw $0x5,(%ebp),%mm1\n";
    const std::vector<Allowed> allowed = {
        {".text", "runs SSE only where cpuid shows it"},
        {"_ZNSt12_GLOBAL__N_112__x86_rdrandEPv", "chosen only where cpuid shows RDRAND"}};
    std::string error;
    const auto map = ParseMap(kMap, &error);
    ASSERT_TRUE(map) << error;
    Passed passed;
    EXPECT_TRUE(CheckCode("x.exe", std::string(kHeader) + code, *map, allowed, &passed).empty());
    EXPECT_EQ(passed.allowed, 2u);
    EXPECT_EQ(passed.tables, 2u);
    EXPECT_EQ(Check(code, {allowed[1]}).size(), 1u) << "each allowance counts for its own";
    EXPECT_EQ(Check(code).size(), 2u) << "without the allowances both functions are named";
}

TEST(CheckCode, RefusesAMapOfAnotherFileAndCodeOutsideTheMap) {
    std::string header = kHeader;
    header.replace(header.find("00000200"), 8, "00000300");
    std::string error;
    const auto map = ParseMap(kMap, &error);
    ASSERT_TRUE(map);
    EXPECT_EQ(CheckCode("x.exe", header, *map, {}),
              (std::vector<std::string>{"x.exe: .text at 0x401000, 0x300 bytes, but its map says "
                                        "0x401000, 0x200 bytes: the map is not of this file"}));
    EXPECT_EQ(CheckCode("x.exe", "no sections\n", *map, {}),
              (std::vector<std::string>{"x.exe: its disassembly has no .text section"}));
    EXPECT_EQ(Check("  401300:\tmovq   %mm0,%mm1\n  401304:\temms\n"),
              (std::vector<std::string>{
                  "x.exe: 2 instructions above the i686 floor lie where its map places nothing, "
                  "the first at 0x401300: movq (MMX register %mm0)"}));
}

} // namespace
} // namespace instructions
