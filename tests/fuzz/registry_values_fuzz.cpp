// Drives the readers of single registry values over whatever a value may hold: the first byte is
// the value's type, the second picks the reader, the rest are the stored bytes. The stored bytes
// come from other programs and users, so no type and size may crash, overrun or hang a reader.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/ie_blobs.h"
#include "fakes/wirewise/test_app.h"
#include "platform/reg_search.h"
#include "platform/registry_values.h"

namespace {

const std::string kKey = "Software\\Fuzz";
const std::string kConnections = "S-1-5-21-1-2-3-1000\\Software\\Microsoft\\Windows\\"
                                 "CurrentVersion\\Internet Settings\\Connections";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint32_t type = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    ww::test::TestApp t;
    switch (data[1] % 4) {
    case 0: {
        t.reg.SetValue(ww::kHkeyLocalMachine, kKey, "Value", type, bytes);
        std::string text;
        ww::ReadRegValue(t.app, ww::kHkeyLocalMachine, kKey, "Value", text);
        break;
    }
    case 1:
        ww::ValueDataText(type, bytes);
        break;
    case 2: {
        // Either blob may hold anything, of any type.
        t.options.ieAuto = true;
        t.reg.SetValue(ww::kHkeyUsers, kConnections, "DefaultConnectionSettings", type, bytes);
        t.reg.SetValue(ww::kHkeyUsers, kConnections, "SavedLegacySettings", ww::kRegBinary,
                       bytes.substr(0, bytes.size() / 2));
        try {
            ww::SetAutoDetect(t.app, kConnections, (data[1] & 0x80) != 0);
        } catch (...) {
            // A blob too short for its flags ends the pass through the caller's handler.
        }
        break;
    }
    default:
        ww::BytesToHex(bytes);
        break;
    }
    return 0;
}
