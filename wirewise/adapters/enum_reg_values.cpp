#include "adapters/enum_reg_values.h"

#include <array>
#include <vector>

#include "adapters/adapter_list.h"
#include "platform/ascii_case.h"
#include "platform/reg_key.h"
#include "seams/codepage.h"

namespace ww {
namespace {

constexpr uint32_t kNameChars = 260;
constexpr uint32_t kDataBytes = 4096;

} // namespace

std::string EnumRegValues(App& app, HKey root, const std::string& keyPath,
                          const std::string& match) {
    if (keyPath.empty()) return {};
    RegKey key(*app.reg);
    if (key.Open(root, ToAnsi(keyPath), kKeyRead) != kErrorSuccess) return {};
    std::array<char, kNameChars> name;
    std::vector<uint8_t> data(kDataBytes);
    for (uint32_t index = 0;; ++index) {
        name.fill('\0');
        uint32_t nameSize = kNameChars;
        uint32_t dataSize = kDataBytes;
        uint32_t type = 0;
        if (app.reg->EnumValue(key.get(), index, name.data(), &nameSize, &type, data.data(),
                               &dataSize) != kErrorSuccess)
            return {};
        const std::string valueName =
            StripNull(FromAnsi(std::string_view(name.data(), name.size())), std::string(1, '\0'));
        if (ContainsAsciiNoCase(valueName, match)) return valueName;
    }
}

} // namespace ww
