// Drives the PE reader of the import check, and the check itself, over arbitrary bytes: the
// reader must answer with an image or a reason and never read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import_rules.h"
#include "pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<std::string> tableErrors;
    static const auto table =
        imports::Table::Parse("library\tfunction\twin9x\twin9x_kind\twinnt\tbinding\tnote\n"
                              "kernel32.dll\tCloseHandle\t95\treal\t3.1\timport\t\n"
                              "kernel32.dll\tGetTickCount64\tnone\t-\tVista\truntime\tnot used\n",
                              &tableErrors);
    std::string error;
    const auto image =
        pe::ReadImage(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (!image) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    imports::CheckImage("fuzz.exe", *image, *table);
    return 0;
}
