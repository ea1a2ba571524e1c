#include "engine/ie_blobs.h"

#include "common/text.h"
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/failure.h"
#include "platform/log.h"
#include "platform/registry_values.h"
#include "seams/codepage.h"
#include "seams/registry.h"

namespace ww {
namespace {

// The same limits as every single-value read: the key opened for reading and writing, and no more
// than 1024 bytes of data.
constexpr uint32_t kMaxData = 1024;

constexpr size_t kFlagsOffset = 8;
constexpr uint8_t kDirect = 0x01;
constexpr uint8_t kAutoDetect = 0x08;

struct Blob {
    const char* valueName;
    const char* settingLine;
};

constexpr std::array<Blob, 2> kBlobs = {{
    {kDefaultConnectionSettings, "Setting Default Con"},
    {kSavedLegacySettings, "Setting Legacy"},
}};

// The stored bytes, all of them. The text form of a read would lose a final zero byte, and its
// code-page round trip could alter bytes, so the blob is taken from the registry as it is.
bool ReadBlob(App& app, const std::string& keyPath, const std::string& name,
              std::vector<uint8_t>& bytes) {
    RegKey key(*app.reg);
    std::string data;
    uint32_t type = 0;
    if (key.Open(kHkeyUsers, ToAnsi(keyPath), kKeyReadWrite) != kErrorSuccess ||
        key.QueryValue(ToAnsi(name), &type, &data, kMaxData) != kErrorSuccess)
        return false;
    bytes.assign(data.begin(), data.end());
    return true;
}

bool WriteBlob(App& app, const std::string& keyPath, const std::string& name,
               const std::vector<uint8_t>& bytes) {
    RegKey key(*app.reg);
    if (key.Open(kHkeyUsers, ToAnsi(keyPath), kKeyReadWrite) != kErrorSuccess) return false;
    return key.SetValue(ToAnsi(name), kRegBinary,
                        std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                         bytes.size())) == kErrorSuccess;
}

} // namespace

bool SetAutoDetect(App& app, const std::string& keyPath, bool enable) {
    if (!app.options->chkIEAuto()) return false;
    WriteLog(app, "Autokey = " + keyPath);
    int written = 0;
    for (const Blob& blob : kBlobs) {
        std::vector<uint8_t> bytes;
        if (!ReadBlob(app, keyPath, blob.valueName, bytes)) continue;
        if (bytes.size() <= kFlagsOffset) throw EngineFailure("Invalid procedure call or argument");
        // The byte is replaced whole, so the proxy and script bits end up cleared either way.
        bytes[kFlagsOffset] = enable ? (kDirect | kAutoDetect) : kDirect;
        WriteLog(app, blob.settingLine);
        if (WriteBlob(app, keyPath, blob.valueName, bytes)) ++written;
    }
    return written == static_cast<int>(kBlobs.size());
}

std::string BytesToHex(const std::string& text) {
    std::string hex;
    for (const char ch : ToAnsi(text)) {
        corvane::AppendHexByte(hex, static_cast<unsigned char>(ch), corvane::kHexLower);
        hex += ',';
    }
    return hex + "00";
}

std::string ZeroPad(const std::string& text, size_t width) {
    if (text.size() >= width) return text;
    return std::string(width - text.size(), '0') + text;
}

} // namespace ww
