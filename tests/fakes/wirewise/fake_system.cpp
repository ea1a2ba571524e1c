#include "fakes/wirewise/fake_system.h"

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

bool FakeSystem::OpenProcessToken(SysHandle process, uint32_t access, SysHandle* token) {
    tokenAccess = access;
    if (process == kProcess) {
        if (!shellTokenOk) {
            lastError = 5;
            return false;
        }
        *token = kShellToken;
        return true;
    }
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

namespace ww::test {

uint32_t FakeSystem::GetWindowThreadProcessId(SysHandle window, uint32_t* processId) {
    if (window == 0 || window != shellWindow) {
        lastError = 1400; // ERROR_INVALID_WINDOW_HANDLE
        *processId = 0;
        return 0;
    }
    *processId = shellProcessId;
    return 0x9A4;
}

SysHandle FakeSystem::OpenProcess(uint32_t access, bool, uint32_t processId) {
    processAccess.push_back(access);
    if (processId != shellProcessId || refusedProcessAccess.count(access) != 0) {
        lastError = 5;
        return 0;
    }
    return kProcess;
}

// TOKEN_USER as Win32 lays it out: the SID's address and the attributes, padded to the pointer
// size, then the SID itself.
bool FakeSystem::GetTokenInformation(SysHandle token, uint32_t infoClass, uint8_t* buffer,
                                     uint32_t length, uint32_t* returnLength) {
    if (token != kShellToken || infoClass != kTokenUser || !shellTokenSid) {
        lastError = 87;
        return false;
    }
    const size_t record = 2 * sizeof(void*);
    const size_t needed = record + shellTokenSid->size();
    *returnLength = static_cast<uint32_t>(needed);
    if (length < needed) {
        lastError = 122;
        return false;
    }
    std::memset(buffer, 0, record);
    const uintptr_t address = reinterpret_cast<uintptr_t>(buffer) + record;
    std::memcpy(buffer, &address, sizeof address);
    std::memcpy(buffer + record, shellTokenSid->data(), shellTokenSid->size());
    if (tamperTokenUser) tamperTokenUser(buffer, length);
    return true;
}

bool FakeSystem::LookupAccountSidA(const std::string&, const uint8_t* sid, char* name,
                                   uint32_t* nameSize, char* domain, uint32_t* domainSize,
                                   uint32_t* use) {
    const size_t sidSize = 8 + 4 * size_t{sid[1]};
    for (const auto& [bytes, names] : sidNames) {
        if (bytes.size() != sidSize || std::memcmp(bytes.data(), sid, sidSize) != 0) continue;
        const auto& [domainName, accountName] = names;
        if (*nameSize <= accountName.size() || *domainSize <= domainName.size()) {
            *nameSize = static_cast<uint32_t>(accountName.size() + 1);
            *domainSize = static_cast<uint32_t>(domainName.size() + 1);
            lastError = 122;
            return false;
        }
        std::memcpy(name, accountName.c_str(), accountName.size() + 1);
        std::memcpy(domain, domainName.c_str(), domainName.size() + 1);
        *nameSize = static_cast<uint32_t>(accountName.size());
        *domainSize = static_cast<uint32_t>(domainName.size());
        *use = 1;
        return true;
    }
    lastError = kErrorNoneMapped;
    return false;
}

} // namespace ww::test
