#include "platform/desktop_user.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/text.h"
#include "platform/ascii_case.h"
#include "platform/identity.h"
#include "platform/log.h"
#include "seams/codepage.h"
#include "seams/system.h"

namespace ww {
namespace {

// A SID: revision, sub-authority count, six authority bytes, then 32-bit sub-authorities.
constexpr size_t kSidHeader = 8;
// TOKEN_USER: a SID pointer and 32-bit attributes, padded to the pointer size; Windows puts the
// SID right after it, and never needs more than this for one.
constexpr size_t kTokenUserRecord = 2 * sizeof(void*);
constexpr uint32_t kTokenUserBytes = 512;
constexpr uint32_t kNameChars = 256;

// The SID of the token's user, copied out of the record GetTokenInformation filled.
std::optional<std::vector<uint8_t>> TokenUserSid(System& sys, SysHandle token) {
    std::vector<uint8_t> buffer(kTokenUserBytes, 0);
    uint32_t returned = 0;
    if (!sys.GetTokenInformation(token, kTokenUser, buffer.data(),
                                 static_cast<uint32_t>(buffer.size()), &returned))
        return std::nullopt;
    const size_t filled = returned < buffer.size() ? returned : buffer.size();
    uintptr_t address = 0;
    std::memcpy(&address, buffer.data(), sizeof address);
    const auto base = reinterpret_cast<uintptr_t>(buffer.data());
    // The pointer must lead into what the call filled, past the record itself.
    if (address < base + kTokenUserRecord || address >= base + filled) return std::nullopt;
    const size_t offset = address - base;
    return std::vector<uint8_t>(buffer.begin() + static_cast<std::ptrdiff_t>(offset),
                                buffer.begin() + static_cast<std::ptrdiff_t>(filled));
}

std::optional<std::string> AccountOf(System& sys, const std::vector<uint8_t>& sid) {
    std::array<char, kNameChars> name{};
    std::array<char, kNameChars> domain{};
    uint32_t nameSize = kNameChars;
    uint32_t domainSize = kNameChars;
    uint32_t use = 0;
    if (!sys.LookupAccountSidA("", sid.data(), name.data(), &nameSize, domain.data(), &domainSize,
                               &use))
        return std::nullopt;
    std::string account = FromAnsi(corvane::UpToNul(domain.data(), domain.size()));
    account.append("\\").append(FromAnsi(corvane::UpToNul(name.data(), name.size())));
    return account;
}

} // namespace

std::optional<std::string> SidString(const uint8_t* sid, size_t size) {
    if (size < kSidHeader) return std::nullopt;
    const size_t count = sid[1];
    if (size - kSidHeader < 4 * count) return std::nullopt;
    // Appended piece by piece: GCC 12 misreads a chain of + here as an overlapping copy.
    std::string text = "S-";
    text.append(std::to_string(sid[0])).append("-").append(SidAuthorityText(sid + 2));
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* sub = sid + kSidHeader + 4 * i;
        const uint32_t value =
            sub[0] | (uint32_t{sub[1]} << 8) | (uint32_t{sub[2]} << 16) | (uint32_t{sub[3]} << 24);
        text.append("-").append(std::to_string(value));
    }
    return text;
}

std::optional<DesktopUser> FindDesktopUser(App& app) {
    System& sys = *app.sys;
    const SysHandle shell = sys.GetShellWindow();
    if (shell == 0) return std::nullopt;
    uint32_t processId = 0;
    if (sys.GetWindowThreadProcessId(shell, &processId) == 0 || processId == 0) return std::nullopt;
    SysHandleOwner process(sys);
    // The limited right is all an administrator is granted on another user's process on Vista
    // and later; the systems before it know only the full one.
    if (!process.OpenProcess(kProcessQueryInformation, processId) &&
        !process.OpenProcess(kProcessQueryLimitedInformation, processId))
        return std::nullopt;
    SysHandleOwner token(sys);
    if (!token.OpenProcessToken(process.get(), kTokenQuery)) return std::nullopt;
    const auto sid = TokenUserSid(sys, token.get());
    if (!sid) return std::nullopt;
    const auto sidText = SidString(sid->data(), sid->size());
    if (!sidText) return std::nullopt;
    const auto account = AccountOf(sys, *sid);
    if (!account) return std::nullopt;
    return DesktopUser{*account, *sidText};
}

void NoteDesktopUser(App& app) {
    const std::optional<DesktopUser> desktop = FindDesktopUser(app);
    if (!desktop || EqualsAsciiNoCase(desktop->sid, app.UserSid)) return;
    app.DesktopSid = desktop->sid;
    std::string line = "Desktop user = ";
    line.append(desktop->account).append(" ").append(desktop->sid);
    WriteLog(app, line);
}

} // namespace ww
