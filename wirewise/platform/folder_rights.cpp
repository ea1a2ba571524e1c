#include "platform/folder_rights.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ww {
namespace {

constexpr uint16_t kSelfRelative = 0x8000; // SE_SELF_RELATIVE
constexpr uint16_t kDaclPresent = 0x0004;  // SE_DACL_PRESENT
constexpr size_t kDescriptorBytes = 20;    // SECURITY_DESCRIPTOR_RELATIVE
constexpr size_t kAclBytes = 8;            // ACL
constexpr size_t kAceHeaderBytes = 4;      // ACE_HEADER
constexpr size_t kAllowedAceSidAt = 8;     // ACCESS_ALLOWED_ACE.SidStart
constexpr size_t kSidFixedBytes = 8;       // revision, count, identifier authority
constexpr uint8_t kMostSubAuthorities = 15;

constexpr uint8_t kAccessAllowed = 0x00;

// The ACE kinds that only ever take rights away.
constexpr uint8_t kDenyKinds[] = {
    0x01, // ACCESS_DENIED_ACE_TYPE
    0x06, // ACCESS_DENIED_OBJECT_ACE_TYPE
    0x0A, // ACCESS_DENIED_CALLBACK_ACE_TYPE
    0x0C, // ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE
};

// Any of these lets its holder put a file of its own where the elevated program writes, or
// take the folder over.
constexpr uint32_t kWriteRights = 0x00000002u    // FILE_WRITE_DATA / FILE_ADD_FILE
                                  | 0x00000004u  // FILE_APPEND_DATA / FILE_ADD_SUBDIRECTORY
                                  | 0x00000010u  // FILE_WRITE_EA
                                  | 0x00000040u  // FILE_DELETE_CHILD
                                  | 0x00000100u  // FILE_WRITE_ATTRIBUTES
                                  | 0x00010000u  // DELETE
                                  | 0x00040000u  // WRITE_DAC
                                  | 0x00080000u  // WRITE_OWNER
                                  | 0x02000000u  // MAXIMUM_ALLOWED
                                  | 0x10000000u  // GENERIC_ALL
                                  | 0x40000000u; // GENERIC_WRITE

// The SIDs trusted with the folder, as their bytes: SYSTEM (S-1-5-18), Administrators
// (S-1-5-32-544) and TrustedInstaller (S-1-5-80-956008885-3418522649-1831038044-1853292631-
// 2271478464), which owns what Windows itself installs.
constexpr unsigned char kSystem[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
constexpr unsigned char kAdministrators[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};
constexpr unsigned char kTrustedInstaller[] = {
    1,    6,    0,    0,    0,    0,    0,    5,    80,   0,    0,    0,    0xB5, 0x89, 0xFB, 0x38,
    0x19, 0x84, 0xC2, 0xCB, 0x5C, 0x6C, 0x23, 0x6D, 0x57, 0x00, 0x77, 0x6E, 0xC0, 0x02, 0x64, 0x87};

std::string_view Bytes(const unsigned char* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

const std::string_view kTrusted[] = {
    Bytes(kSystem, sizeof kSystem),
    Bytes(kAdministrators, sizeof kAdministrators),
    Bytes(kTrustedInstaller, sizeof kTrustedInstaller),
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::optional<uint32_t> At(size_t offset, size_t width) const {
        if (offset > bytes_.size() || bytes_.size() - offset < width) return std::nullopt;
        uint32_t value = 0;
        for (size_t i = width; i-- > 0;)
            value = value << 8 | static_cast<unsigned char>(bytes_[offset + i]);
        return value;
    }
    // The SID at offset, whole and inside limit bytes, or nothing.
    std::optional<std::string_view> Sid(size_t offset, size_t limit) const {
        const auto revision = At(offset, 1);
        const auto count = At(offset + 1, 1);
        if (!revision || !count || *revision != 1 || *count > kMostSubAuthorities)
            return std::nullopt;
        const size_t size = kSidFixedBytes + 4 * *count;
        if (offset > limit || limit - offset < size || limit > bytes_.size()) return std::nullopt;
        return bytes_.substr(offset, size);
    }

  private:
    std::string_view bytes_;
};

bool Trusted(std::string_view sid) {
    for (const std::string_view trusted : kTrusted)
        if (sid == trusted) return true;
    return false;
}

bool Denies(uint8_t kind) {
    for (const uint8_t deny : kDenyKinds)
        if (kind == deny) return true;
    return false;
}

// Every ACE of the ACL at offset grants writing to trusted SIDs only.
bool DaclClosed(const Reader& in, size_t offset, size_t total) {
    const auto revision = in.At(offset, 1);
    const auto size = in.At(offset + 2, 2);
    const auto count = in.At(offset + 4, 2);
    if (!revision || !size || !count || *size < kAclBytes || offset + *size > total) return false;
    const size_t end = offset + *size;
    size_t at = offset + kAclBytes;
    for (uint32_t i = 0; i < *count; ++i) {
        const auto kind = in.At(at, 1);
        const auto aceSize = in.At(at + 2, 2);
        if (!kind || !aceSize || *aceSize < kAceHeaderBytes || at + *aceSize > end) return false;
        if (!Denies(static_cast<uint8_t>(*kind))) {
            if (*kind != kAccessAllowed) return false;
            const auto mask = in.At(at + kAceHeaderBytes, 4);
            const auto sid = in.Sid(at + kAllowedAceSidAt, at + *aceSize);
            if (!mask || !sid) return false;
            if ((*mask & kWriteRights) != 0 && !Trusted(*sid)) return false;
        }
        at += *aceSize;
    }
    return true;
}

} // namespace

bool ClosedToUsers(std::string_view descriptor) {
    const Reader in(descriptor);
    const auto revision = in.At(0, 1);
    const auto control = in.At(2, 2);
    const auto owner = in.At(4, 4);
    const auto dacl = in.At(16, 4);
    if (descriptor.size() < kDescriptorBytes || !revision || *revision != 1 || !control ||
        (*control & kSelfRelative) == 0 || !owner || !dacl)
        return false;
    const auto ownerSid = in.Sid(*owner, descriptor.size());
    if (*owner < kDescriptorBytes || !ownerSid || !Trusted(*ownerSid)) return false;
    // No DACL at all, or a NULL one: everyone may do everything.
    if ((*control & kDaclPresent) == 0 || *dacl < kDescriptorBytes) return false;
    return DaclClosed(in, *dacl, descriptor.size());
}

} // namespace ww
