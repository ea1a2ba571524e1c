#include "fakes/fake_system.h"

#include <algorithm>
#include <cstring>

namespace ww::test {
namespace {

constexpr uint32_t kInsufficientBuffer = 122; // ERROR_INSUFFICIENT_BUFFER

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

std::vector<uint8_t> FakeSystem::MakeSid(uint8_t revision, uint64_t authority,
                                         const std::vector<uint32_t>& subAuthorities) {
    std::vector<uint8_t> sid{revision, static_cast<uint8_t>(subAuthorities.size())};
    for (int i = 5; i >= 0; --i)
        sid.push_back(static_cast<uint8_t>(authority >> (8 * i)));
    for (uint32_t sub : subAuthorities)
        for (int i = 0; i < 4; ++i)
            sid.push_back(static_cast<uint8_t>(sub >> (8 * i)));
    return sid;
}

FakeSystem::FakeSystem() {
    accounts["ALICE"] =
        Account{MakeSid(1, 5, {21, 1004336348, 1177238915, 682003330, 1003}), "PC1", 1};
}

bool FakeSystem::GetVersionExA(OsVersionInfo* info) {
    if (!versionOk || info->dwOSVersionInfoSize != 148) {
        lastError = 87;
        return false;
    }
    *info = version;
    info->dwOSVersionInfoSize = 148;
    return true;
}

bool FakeSystem::GetUserNameA(char* buffer, uint32_t* size) {
    if (!userName) {
        lastError = 1332;
        return false;
    }
    const auto need = static_cast<uint32_t>(userName->size() + 1);
    if (*size < need) {
        *size = need;
        lastError = kInsufficientBuffer;
        return false;
    }
    std::memcpy(buffer, userName->c_str(), need);
    *size = need;
    return true;
}

bool FakeSystem::GetComputerNameA(char* buffer, uint32_t* size) {
    if (!computerName) {
        lastError = 2;
        return false;
    }
    const auto need = static_cast<uint32_t>(computerName->size() + 1);
    if (*size < need) {
        *size = need;
        lastError = 111; // ERROR_BUFFER_OVERFLOW
        return false;
    }
    std::memcpy(buffer, computerName->c_str(), need);
    *size = need - 1;
    return true;
}

bool FakeSystem::LookupAccountNameA(const std::string& systemName, const std::string& accountName,
                                    uint8_t* sid, uint32_t* sidSize, char* domain,
                                    uint32_t* domainSize, uint32_t* use) {
    lookupSystems.push_back(systemName);
    auto it = accounts.find(Upper(accountName));
    if (it == accounts.end()) {
        lastError = kErrorNoneMapped;
        return false;
    }
    const Account& a = it->second;
    const auto sidLen = static_cast<uint32_t>(a.sid.size());
    const auto domainNeed = static_cast<uint32_t>(a.domain.size() + 1);
    if (*sidSize < sidLen || *domainSize < domainNeed) {
        *sidSize = sidLen;
        *domainSize = domainNeed;
        lastError = kInsufficientBuffer;
        return false;
    }
    std::memcpy(sid, a.sid.data(), sidLen);
    *sidSize = sidLen;
    std::memcpy(domain, a.domain.c_str(), domainNeed);
    *domainSize = domainNeed - 1;
    *use = a.use;
    return true;
}

uint32_t FakeSystem::NetGetDCName(const std::string& server, const std::string& domain,
                                  std::string* dcName) {
    dcQueries.emplace_back(server, domain);
    auto it = domainControllers.find(Upper(domain));
    if (it == domainControllers.end()) return kNerrDcNotFound;
    *dcName = it->second;
    return 0;
}

bool FakeSystem::OpenProcessToken(SysHandle, uint32_t access, SysHandle* token) {
    tokenAccess = access;
    if (!openTokenOk) {
        lastError = 5;
        return false;
    }
    ++openTokens;
    *token = kToken;
    return true;
}

bool FakeSystem::LookupPrivilegeValueA(const std::string&, const std::string& name, Luid* luid) {
    privilegeLookups.push_back(name);
    if (!lookupPrivilegeOk || name != "SeShutdownPrivilege") {
        lastError = 1313; // ERROR_NO_SUCH_PRIVILEGE
        return false;
    }
    *luid = shutdownLuid;
    return true;
}

bool FakeSystem::AdjustTokenPrivileges(SysHandle token, bool disableAll,
                                       const TokenPrivileges& newState, uint32_t bufferLength,
                                       TokenPrivileges* previousState, uint32_t* returnLength) {
    adjustCalls.push_back(AdjustCall{token, disableAll, newState, bufferLength,
                                     returnLength != nullptr ? *returnLength : 0});
    if (!adjustOk) {
        lastError = 6;
        return false;
    }
    if (previousState != nullptr) previousState->PrivilegeCount = 0;
    if (returnLength != nullptr) *returnLength = 4;
    lastError = 0;
    return true;
}

bool FakeSystem::ExitWindowsEx(uint32_t flags, uint32_t reason) {
    exitCalls.emplace_back(flags, reason);
    if (restartNeedsPrivilege) {
        const bool enabled =
            adjustOk &&
            std::any_of(adjustCalls.begin(), adjustCalls.end(), [&](const AdjustCall& c) {
                const auto& p = c.newState.Privileges[0];
                return c.newState.PrivilegeCount == 1 && p.luid.LowPart == shutdownLuid.LowPart &&
                       p.Attributes == kSePrivilegeEnabled;
            });
        if (!enabled) {
            lastError = kErrorPrivilegeNotHeld;
            return false;
        }
    }
    if (onExitWindows) onExitWindows();
    if (!exitWindowsOk) lastError = exitWindowsError;
    return exitWindowsOk;
}

uint32_t FakeSystem::FormatMessageA(uint32_t flags, uint32_t messageId, uint32_t languageId,
                                    char* buffer, uint32_t size) {
    formatCalls.push_back(FormatCall{flags, messageId, languageId, size});
    auto it = messages.find(messageId);
    if (it == messages.end()) {
        lastError = 317; // ERROR_MR_MID_NOT_FOUND
        return 0;
    }
    if (it->second.size() + 1 > size) {
        lastError = kInsufficientBuffer;
        return 0;
    }
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return static_cast<uint32_t>(it->second.size());
}

} // namespace ww::test
