#include "platform/identity.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "seams/codepage.h"
#include "seams/system.h"

namespace ww {
namespace {

constexpr uint32_t kUserNameChars = 25;
constexpr uint32_t kComputerNameChars = 16;
constexpr size_t kSidBytes = 513;
constexpr uint32_t kSidSizePassed = 512;
constexpr uint32_t kDomainChars = 512;
constexpr uint32_t kSidTypeUser = 1;

} // namespace

std::string SidAuthorityText(const uint8_t* bytes) {
    uint64_t authority = 0;
    for (int i = 0; i < 6; ++i)
        authority = (authority << 8) | bytes[i];
    if (authority < (uint64_t{1} << 32)) return std::to_string(authority);
    char text[20];
    std::snprintf(text, sizeof text, "0x%012llX", static_cast<unsigned long long>(authority));
    return text;
}

std::string GetLoggedUser(App& app) {
    std::array<char, kUserNameChars> buffer{};
    uint32_t size = kUserNameChars;
    if (!app.sys->GetUserNameA(buffer.data(), &size)) return "";
    return FromAnsi(corvane::UpToNul(buffer.data(), buffer.size()));
}

std::string GetMachineName(App& app) {
    std::array<char, kComputerNameChars> buffer;
    buffer.fill(' ');
    uint32_t size = kComputerNameChars;
    if (!app.sys->GetComputerNameA(buffer.data(), &size)) return "";
    return FromAnsi(corvane::UpToNul(buffer.data(), buffer.size()));
}

std::string GetUserSid(App& app) {
    return LookupSidString(app, GetMachineName(app), app.UserName);
}

std::string LookupSidString(App& app, const std::string& machine, const std::string& account) {
    System& sys = *app.sys;
    const std::string systemName = GetDomainController(app, "", machine);
    std::array<uint8_t, kSidBytes> sid{};
    uint32_t sidSize = kSidSizePassed;
    std::array<char, kDomainChars> domain{};
    uint32_t domainSize = kDomainChars;
    uint32_t use = kSidTypeUser;
    // An account that is not found leaves the SID all zero: S-0-0.
    if (!sys.LookupAccountNameA(ToAnsi(systemName), ToAnsi(account), sid.data(), &sidSize,
                                domain.data(), &domainSize, &use))
        sid.fill(0);

    const uint8_t* const begin = sid.data();
    const uint8_t* const end = begin + sid.size();
    // The accessors point into the buffer; anything they would read beyond it is not read.
    auto inside = [&](const uint8_t* p, size_t n) { return p >= begin && p + n <= end; };
    const uint8_t* authority = sys.GetSidIdentifierAuthority(begin);
    if (!inside(authority, 6)) return "S-0-0";
    // Appended piece by piece: GCC 12 misreads a chain of + here as an overlapping copy.
    std::string text = "S-";
    text.append(std::to_string(sid[0])).append("-").append(SidAuthorityText(authority));
    const uint8_t* countByte = sys.GetSidSubAuthorityCount(begin);
    if (!inside(countByte, 1)) return text;
    for (uint32_t i = 0; i < *countByte; ++i) {
        const uint8_t* sub = sys.GetSidSubAuthority(begin, i);
        if (!inside(sub, 4)) break;
        uint32_t value = 0;
        for (int b = 3; b >= 0; --b)
            value = (value << 8) | sub[b];
        text.append("-").append(std::to_string(value));
    }
    return text;
}

std::string GetDomainController(App& app, const std::string& server, const std::string& domain) {
    std::string name;
    if (app.sys->NetGetDCName(server, domain, &name) != 0) return "";
    return name;
}

} // namespace ww
