#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import_rules.h"
#include "pe_builder.h"
#include "pe_image.h"

namespace imports {
namespace {

using testing::BuildPe;
using testing::PeLayout;

constexpr const char* kTable =
    "# source k95: a Windows 95 export list\n"
    "# source sdk: an old SDK page\n"
    "library\tfunction\twin9x\twin9x_kind\twinnt\tbinding\tsource\tnote\n"
    "kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\tk95,sdk\t\n"
    "kernel32.dll\tGetModuleHandleW\t95\tstub\t3.1\timport\tsdk\tnever on 9x\n"
    "kernel32.dll\tGetTickCount64\tnone\t-\tVista\truntime\t\tnot used\n"
    "kernel32.dll\tTryEnterCriticalSection\tnone\t-\t4.0\truntime\t-\tnot used\n"
    "comctl32.dll\tInitCommonControlsEx\t98\treal\t2000\truntime\tsdk\tbound\n"
    "msvcrt.dll\tmalloc\t98\treal\t4.0\timport\t-\t\n"
    "version.dll\tVerQueryValueA\t95\treal\t3.1\truntime\tk95\tby path\n";

// The dependency the programs' manifests carry, as the resource compiler embeds it.
const std::string kCommonControls6 =
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <dependency><dependentAssembly>\r\n"
    "    <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"\r\n"
    "      version=\"6.0.0.0\" processorArchitecture=\"x86\" language=\"*\"/>\r\n"
    "  </dependentAssembly></dependency>\r\n</assembly>\r\n";

Table SmallTable() {
    std::vector<std::string> errors;
    auto table = Table::Parse(kTable, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    return *table;
}

std::vector<std::string> Check(const PeLayout& layout) {
    std::string error;
    const auto image = pe::ReadImage(BuildPe(layout), &error);
    EXPECT_TRUE(image) << error;
    return image ? CheckImage("x.exe", *image, SmallTable()) : std::vector<std::string>{"none"};
}

// The file offset of the export table of a file made by BuildPe.
size_t ExportTableAt(const std::string& file) {
    const size_t entry = testing::kPeHeaderOffset + 24 + 96;
    uint32_t rva = 0;
    for (int i = 3; i >= 0; --i)
        rva = (rva << 8) | static_cast<unsigned char>(file[entry + i]);
    return rva - testing::kSectionRva + testing::kSectionFileOffset;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

TEST(PeImage, ReadsHeaderImportsAndExports) {
    PeLayout layout;
    layout.dll = true;
    layout.osMajor = 5;
    layout.osMinor = 1;
    layout.subsystemMajor = 4;
    layout.subsystemMinor = 10;
    layout.imports = {{"KERNEL32.dll", {"CloseHandle", "#17"}}, {"msvcrt.dll", {"malloc"}}};
    layout.exports = {{"GetAdaptersInfo", ""}, {"IpRenewAddress", "iphlpapi.IpRenewAddress"}};
    layout.manifest = "<assembly/>";
    std::string error;
    const auto image = pe::ReadImage(BuildPe(layout), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_TRUE(image->dll);
    EXPECT_EQ(image->machine, pe::kMachineI386);
    EXPECT_EQ(image->osMajor * 100 + image->osMinor, 501);
    EXPECT_EQ(image->subsystemMajor * 100 + image->subsystemMinor, 410);
    ASSERT_EQ(image->imports.size(), 3u);
    EXPECT_EQ(image->imports[0].library, "KERNEL32.dll");
    EXPECT_EQ(image->imports[0].function, "CloseHandle");
    EXPECT_EQ(image->imports[1].function, "");
    EXPECT_EQ(image->imports[1].ordinal, 17);
    EXPECT_EQ(image->imports[2].library, "msvcrt.dll");
    ASSERT_EQ(image->exports.size(), 2u);
    EXPECT_EQ(image->exports[0].name, "GetAdaptersInfo");
    EXPECT_EQ(image->exports[0].forwarder, "");
    EXPECT_EQ(image->exports[1].forwarder, "iphlpapi.IpRenewAddress");
    EXPECT_FALSE(image->delayImports);
    EXPECT_EQ(image->manifest, "<assembly/>");
}

// Whatever is cut off or bent, the reader answers with an image or a reason, and never reads
// outside the bytes it was given (the sanitizers watch).
TEST(PeImage, DamagedFilesGiveAReason) {
    PeLayout layout;
    layout.imports = {{"KERNEL32.dll", {"CloseHandle", "GetLastError"}}};
    layout.exports = {{"Forwarded", "other.Function"}};
    layout.manifest = "<assembly/>";
    const std::string good = BuildPe(layout);
    for (size_t n = 0; n < good.size(); ++n) {
        std::string error;
        if (!pe::ReadImage(good.substr(0, n), &error)) {
            EXPECT_FALSE(error.empty()) << n;
        }
    }
    const size_t opt = testing::kPeHeaderOffset + 24;
    // The section starts with 16 bytes of code, then the import descriptors (20 bytes each, the
    // last one empty), then the first library's function pointers.
    const size_t descriptor = testing::kSectionFileOffset + 16;
    struct Damage {
        const char* what;
        size_t at;
        int width;
        uint32_t value;
        const char* reason;
    };
    const Damage damages[] = {
        {"no MZ", 0, 2, 0x5A4E, "no program file"},
        {"no PE signature", testing::kPeHeaderOffset, 4, 0x4551, "no PE header"},
        {"a 64-bit header", opt, 2, 0x020B, "no 32-bit optional header"},
        {"the import table far away", opt + 104, 4, 0x7FFFFFF0, "outside the file"},
        {"a library name outside", descriptor + 12, 4, 0x00FFFFFF, "has no name"},
        {"a function name outside", descriptor + 40, 4, 0x00FFFFFF, "no readable name"},
        {"more exports than the file holds", ExportTableAt(good) + 20, 4, 0x00100000,
         "counts do not fit"},
        {"an exported name outside", ExportTableAt(good) + 32, 4, 0x00FFFFFF,
         "exported name cannot be read"},
    };
    for (const Damage& d : damages) {
        std::string bytes = good;
        for (int i = 0; i < d.width; ++i)
            bytes[d.at + i] = static_cast<char>((d.value >> (8 * i)) & 0xFF);
        std::string error;
        EXPECT_FALSE(pe::ReadImage(bytes, &error)) << d.what;
        EXPECT_NE(error.find(d.reason), std::string::npos) << d.what << ": " << error;
    }
}

TEST(ImportCheck, RefusesWhatAnOldWindowsWouldNotLoad) {
    struct Case {
        const char* what;
        PeLayout layout;
        std::vector<std::string> expected; // texts, one per fault line, in order
    };
    PeLayout clean;
    clean.imports = {{"KERNEL32.dll", {"CloseHandle", "GetModuleHandleW"}},
                     {"MSVCRT.DLL", {"malloc"}}};
    const auto with = [&](auto change) {
        PeLayout s = clean;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"imports that every target exports", clean, {}},
        {"a Vista function",
         with([](PeLayout& s) { s.imports[0].second.push_back("GetTickCount64"); }),
         {"imports GetTickCount64 from KERNEL32.dll, which Windows 98 and NT 4.0 SP6 do not "
          "export (Windows 9x: none, NT: Vista): bind it at run time"}},
        {"a function of NT 4.0 that Windows 98 lacks",
         with([](PeLayout& s) { s.imports[0].second.push_back("TryEnterCriticalSection"); }),
         {"TryEnterCriticalSection from KERNEL32.dll, which Windows 98 does not export "
          "(Windows 9x: none, NT: 4.0)"}},
        {"a function of Windows 98 that NT 4.0 lacks",
         with([](PeLayout& s) {
             s.imports.push_back({"COMCTL32.DLL", {"InitCommonControlsEx"}});
             s.manifest = kCommonControls6;
         }),
         {"InitCommonControlsEx from COMCTL32.DLL, which NT 4.0 SP6 does not export"}},
        {"a function the table lacks",
         with([](PeLayout& s) { s.imports[0].second.push_back("GetFileSizeEx"); }),
         {"imports GetFileSizeEx from KERNEL32.dll, which the table of allowed imports does not "
          "list"}},
        {"a library that is no known system library, once however many functions",
         with([](PeLayout& s) {
             s.imports.push_back({"VERSION.dll", {"VerQueryValueA", "GetFileVersionInfoA"}});
         }),
         {"imports VERSION.dll, which is no known system library"}},
        {"wsock32, which Windows 7 to 11 do not know",
         with([](PeLayout& s) {
             s.imports.push_back({"WSOCK32.dll", {"WSAStartup"}});
         }),
         {"imports WSOCK32.dll, which is no known system library"}},
        {"comctl32 without a manifest",
         with([](PeLayout& s) {
             s.imports.push_back({"COMCTL32.dll", {"#17"}});
         }),
         {"imports COMCTL32.dll without a manifest that asks for Common Controls 6"}},
        {"comctl32 with a manifest that asks for no version 6",
         with([](PeLayout& s) {
             s.imports.push_back({"COMCTL32.dll", {"InitCommonControlsEx"}});
             s.manifest = kCommonControls6;
             s.manifest.replace(s.manifest.find("6.0.0.0"), 7, "5.82.0.0");
         }),
         {"imports COMCTL32.dll without a manifest that asks for Common Controls 6"}},
        {"comctl32 with version 6 named in another element than the controls",
         with([](PeLayout& s) {
             s.imports.push_back({"COMCTL32.dll", {"InitCommonControlsEx"}});
             s.manifest = "<assemblyIdentity name=\"Corvane.X\" version=\"6.0.0.0\"/>"
                          "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" "
                          "version=\"5.82.0.0\"/>";
         }),
         {"imports COMCTL32.dll without a manifest that asks for Common Controls 6"}},
        {"an import by ordinal",
         with([](PeLayout& s) { s.imports[0].second.push_back("#5"); }),
         {"imports ordinal 5 of KERNEL32.dll"}},
        {"a forwarded export",
         with([](PeLayout& s) {
             s.exports = {{"GetAdaptersInfo", "iphlpapi.GetAdaptersInfo"}};
         }),
         {"forwards its export GetAdaptersInfo to iphlpapi.GetAdaptersInfo"}},
        {"a subsystem version of Windows 98",
         with([](PeLayout& s) { s.subsystemMinor = 10; }),
         {"subsystem version 4.10 is above 4.0"}},
        {"the system version of XP",
         with([](PeLayout& s) {
             s.osMajor = 5;
             s.osMinor = 1;
             s.subsystemMajor = 5;
             s.subsystemMinor = 1;
         }),
         {"subsystem version 5.1 is above 4.0", "operating system version 5.1 is above 4.0"}},
        {"a 64-bit machine", with([](PeLayout& s) { s.machine = 0x8664; }), {"not an i386 file"}},
        {"delay-loaded imports",
         with([](PeLayout& s) { s.delayImports = true; }),
         {"delay-loaded imports"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> faults = Check(c.layout);
        ASSERT_EQ(faults.size(), c.expected.size()) << c.what << ":\n" << Joined(faults);
        for (size_t i = 0; i < faults.size(); ++i) {
            EXPECT_EQ(faults[i].rfind("x.exe: ", 0), 0u) << c.what;
            EXPECT_NE(faults[i].find(c.expected[i]), std::string::npos)
                << c.what << ": " << faults[i];
        }
    }
}

TEST(ImportTable, RefusesRowsThatCannotStand) {
    const std::string header =
        "# source sdk: an old SDK page\n"
        "# source k95: a Windows 95 export list\n"
        "library\tfunction\twin9x\twin9x_kind\twinnt\tbinding\tsource\tnote\n";
    const struct {
        const char* row;
        const char* reason;
    } cases[] = {
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\tsdk", "8 columns"},
        {"kernel32.dll\tCloseHandle\t96\treal\t3.1\timport\tsdk\t",
         "unknown Windows version \"96\""},
        {"kernel32.dll\tCloseHandle\t95\treal\tNT4\timport\tsdk\t",
         "unknown Windows version \"NT4\""},
        {"kernel32.dll\tCloseHandle\t95\t-\t3.1\timport\tsdk\t", "real or stub"},
        {"kernel32.dll\tGetHandleInformation\tnone\treal\t3.51\truntime\tsdk\t", "\"-\""},
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\tstatic\tsdk\t", "import or runtime"},
        {"kernel32.dll\tGetTickCount64\tnone\t-\tVista\timport\t\t",
         "GetTickCount64: Windows 98 and NT 4.0 SP6 do not both export it"},
        {"kernel32.dll\tGetFileAttributesExA\t98SE\treal\t4.0\timport\tsdk\t",
         "do not both export it"},
        {"ole32.dll\tCoSetProxyBlanket\t98\treal\t4.0 SP6\timport\tsdk\t",
         ""}, // the newest allowed
        {"kernel32.dll\tLoadLibraryW\t95\tstub\t3.1\timport\tsdk\t", "needs a note"},
        {"version.dll\tVerQueryValueA\t95\treal\t3.1\timport\tsdk\t",
         "version.dll is no known system"},
        // Every claim for Windows 9x or NT 4 names where it comes from.
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\t\t",
         "CloseHandle: a claim for Windows 9x or NT 4 needs its source (or \"-\")"},
        {"kernel32.dll\tTryEnterCriticalSection\tnone\t-\t4.0\truntime\t\tnot used",
         "needs its source"},
        {"kernel32.dll\tGetFileSizeEx\tnone\t-\t2000\truntime\t\tnot used", ""},
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\t-\t", ""}, // none found, said so
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\tk95,sdk\t", ""},
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\tk95,k98\t",
         "CloseHandle: the source \"k98\" is named in no \"# source\" line"},
        {"kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\tk95,\t", "the source \"\" is named"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> errors;
        const auto table = Table::Parse(header + c.row + "\n", &errors);
        if (*c.reason == '\0') {
            EXPECT_TRUE(table) << c.row << ": " << Joined(errors);
            continue;
        }
        ASSERT_EQ(errors.size(), 1u) << c.row;
        EXPECT_FALSE(table) << c.row;
        EXPECT_EQ(errors[0].rfind("line 4: ", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find(c.reason), std::string::npos) << errors[0];
    }
    std::vector<std::string> errors;
    EXPECT_FALSE(Table::Parse(header + "KERNEL32.DLL\tSleep\t95\treal\t3.1\timport\tsdk\t\n" +
                                  "kernel32.dll\tSleep\t95\treal\t3.1\timport\tsdk\t\n",
                              &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("listed twice"), std::string::npos) << errors[0];
}

// The table in the repository stands as written.
TEST(ImportTable, TheRepositoryTableIsValid) {
    std::ifstream in(CORVANE_IMPORT_TABLE, std::ios::binary);
    ASSERT_TRUE(in) << CORVANE_IMPORT_TABLE;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> errors;
    const auto table = Table::Parse(text, &errors);
    ASSERT_TRUE(table) << Joined(errors);
    EXPECT_NE(table->Find("KERNEL32.DLL", "CloseHandle"), nullptr);
    EXPECT_EQ(table->Find("kernel32.dll", "closehandle"), nullptr); // names keep their case
    // Nothing that Windows 9x's advapi32 may not export at all is bound by the loader, and the
    // lamp translates its colours itself.
    for (const Row& row : table->Rows())
        EXPECT_FALSE(row.library == "advapi32.dll" && row.stub && row.binding == Binding::Import)
            << row.function;
    EXPECT_EQ(table->Find("oleaut32.dll", "OleTranslateColor"), nullptr);
}

} // namespace
} // namespace imports
