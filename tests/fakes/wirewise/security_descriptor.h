#pragma once
// Self-relative security descriptors byte for byte, as GetFileSecurity gives them.
#include <cstdint>
#include <string>
#include <vector>

namespace ww::test {

// A SID's bytes: revision 1, the identifier authority, the sub-authorities little-endian.
inline std::string Sid(uint8_t authority, std::vector<uint32_t> parts) {
    std::string sid = {1, static_cast<char>(parts.size()), 0, 0, 0, 0,
                       0, static_cast<char>(authority)};
    for (const uint32_t part : parts)
        for (int i = 0; i < 4; ++i)
            sid += static_cast<char>(part >> (8 * i) & 0xFF);
    return sid;
}

inline const std::string kSystemSid = Sid(5, {18});
inline const std::string kAdministratorsSid = Sid(5, {32, 544});
inline const std::string kUsersSid = Sid(5, {32, 545});
inline const std::string kAuthenticatedUsersSid = Sid(5, {11});
inline const std::string kEveryoneSid = Sid(1, {0});
inline const std::string kCreatorOwnerSid = Sid(3, {0});
inline const std::string kTrustedInstallerSid =
    Sid(5, {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464});
inline const std::string kAliceSid = Sid(5, {21, 1, 2, 3, 1000});

struct Ace {
    uint8_t type;  // 0 allowed, 1 denied
    uint8_t flags; // 0x01 objects inherit, 0x02 folders inherit, 0x08 inherit only
    uint32_t mask;
    std::string sid;
};

inline void PutLe(std::string& out, uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// control: SE_SELF_RELATIVE | SE_DACL_PRESENT unless told; no DACL bytes when dacl is false.
inline std::string Descriptor(const std::string& owner, const std::vector<Ace>& aces,
                              bool dacl = true, uint16_t control = 0x8004) {
    std::string acl;
    for (const Ace& ace : aces) {
        acl += static_cast<char>(ace.type);
        acl += static_cast<char>(ace.flags);
        PutLe(acl, static_cast<uint32_t>(8 + ace.sid.size()), 2);
        PutLe(acl, ace.mask, 4);
        acl += ace.sid;
    }
    std::string header;
    header += static_cast<char>(2); // ACL_REVISION
    header += '\0';
    PutLe(header, static_cast<uint32_t>(8 + acl.size()), 2);
    PutLe(header, static_cast<uint32_t>(aces.size()), 2);
    PutLe(header, 0, 2);
    std::string out = {1, 0};
    PutLe(out, control, 2);
    PutLe(out, 20, 4);                                                  // owner
    PutLe(out, 0, 4);                                                   // group
    PutLe(out, 0, 4);                                                   // SACL
    PutLe(out, dacl ? static_cast<uint32_t>(20 + owner.size()) : 0, 4); // DACL
    out += owner;
    if (dacl) out += header + acl;
    return out;
}

// What CreateClosedFolder asks for: owned by Administrators, every right for them and SYSTEM,
// read and list for Users, all inherited by what is made inside.
inline std::string ClosedDescriptor() {
    return Descriptor(kAdministratorsSid, {{0, 0x03, 0x1F01FF, kAdministratorsSid},
                                           {0, 0x03, 0x1F01FF, kSystemSid},
                                           {0, 0x03, 0x1200A9, kUsersSid}});
}

} // namespace ww::test
