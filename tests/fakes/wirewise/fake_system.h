#pragma once
// The System seam in memory: a Windows XP workstation with one local user "alice", no domain
// controller, a shutdown privilege that can be enabled, and a restart that is accepted. Every
// field can be changed per test; failed calls leave their reason for GetLastError as Win32 does.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "seams/system.h"

namespace ww::test {

class FakeSystem final : public System {
  public:
    // A SID in its binary form: revision, count, six authority bytes (most significant first),
    // then the sub-authorities little-endian.
    static std::vector<uint8_t> MakeSid(uint8_t revision, uint64_t authority,
                                        const std::vector<uint32_t>& subAuthorities);

    struct Account {
        std::vector<uint8_t> sid;
        std::string domain;
        uint32_t use = 1;
    };
    struct AdjustCall {
        SysHandle token;
        bool disableAll;
        TokenPrivileges newState;
        uint32_t bufferLength;
        uint32_t returnLengthPreset;
    };
    struct FormatCall {
        uint32_t flags, messageId, languageId, size;
    };

    bool versionOk = true;
    OsVersionInfo version{148, 5, 1, 2600, 2};
    // What RtlGetVersion answers; nothing: ntdll lacks it (Windows 9x, NT 4)
    std::optional<OsVersionInfo> realVersion;
    std::optional<std::string> userName = "alice";        // nullopt: the call fails
    std::optional<std::string> computerName = "PC1";      // nullopt: the call fails
    std::map<std::string, Account> accounts;              // by upper-cased account name
    std::vector<std::string> lookupSystems;               // systemName of each LookupAccountName
    std::map<std::string, std::string> domainControllers; // by upper-cased domain name
    std::vector<std::pair<std::string, std::string>> dcQueries; // server, domain
    bool openTokenOk = true;
    bool lookupPrivilegeOk = true;
    bool adjustOk = true;
    Luid shutdownLuid{19, 0};
    std::vector<std::string> privilegeLookups;
    std::vector<AdjustCall> adjustCalls;
    int openTokens = 0;
    std::vector<SysHandle> closedHandles;
    bool exitWindowsOk = true;
    // As the NT family does: a restart is refused (1314) until the shutdown privilege is enabled.
    bool restartNeedsPrivilege = false;
    uint32_t exitWindowsError = kErrorPrivilegeNotHeld;
    std::vector<std::pair<uint32_t, uint32_t>> exitCalls; // flags, reason
    std::function<void()> onExitWindows; // what Windows delivers before the request returns
    std::map<uint32_t, std::string> messages{
        {kErrorPrivilegeNotHeld, "A required privilege is not held by the client.\r\n"}};
    std::vector<FormatCall> formatCalls;
    uint32_t lastError = 0;
    int doEventsCalls = 0;
    std::function<void()> onDoEvents;
    // GetTickCount answers tickCount, then moves it on by tickStep.
    uint32_t tickCount = 0;
    uint32_t tickStep = 0;

    FakeSystem();

    bool GetVersionExA(OsVersionInfo* info) override;
    bool RtlGetVersion(OsVersionInfo* info) override {
        if (!realVersion) return false;
        *info = *realVersion;
        return true;
    }
    bool GetUserNameA(char* buffer, uint32_t* size) override;
    bool GetComputerNameA(char* buffer, uint32_t* size) override;
    bool LookupAccountNameA(const std::string& systemName, const std::string& accountName,
                            uint8_t* sid, uint32_t* sidSize, char* domain, uint32_t* domainSize,
                            uint32_t* use) override;
    const uint8_t* GetSidIdentifierAuthority(const uint8_t* sid) override { return sid + 2; }
    const uint8_t* GetSidSubAuthorityCount(const uint8_t* sid) override { return sid + 1; }
    const uint8_t* GetSidSubAuthority(const uint8_t* sid, uint32_t index) override {
        return sid + 8 + 4 * index;
    }
    uint32_t NetGetDCName(const std::string& server, const std::string& domain,
                          std::string* dcName) override;
    SysHandle GetCurrentProcess() override { return static_cast<SysHandle>(-1); }
    bool OpenProcessToken(SysHandle process, uint32_t access, SysHandle* token) override;
    bool CloseHandle(SysHandle handle) override {
        closedHandles.push_back(handle);
        return true;
    }
    bool LookupPrivilegeValueA(const std::string& systemName, const std::string& name,
                               Luid* luid) override;
    bool AdjustTokenPrivileges(SysHandle token, bool disableAll, const TokenPrivileges& newState,
                               uint32_t bufferLength, TokenPrivileges* previousState,
                               uint32_t* returnLength) override;
    bool ExitWindowsEx(uint32_t flags, uint32_t reason) override;
    uint32_t FormatMessageA(uint32_t flags, uint32_t messageId, uint32_t languageId, char* buffer,
                            uint32_t size) override;
    uint32_t GetLastError() override { return lastError; }
    void DoEvents() override {
        ++doEventsCalls;
        if (onDoEvents) onDoEvents();
    }
    uint32_t GetTickCount() override {
        const uint32_t now = tickCount;
        tickCount += tickStep;
        return now;
    }
    void Sleep(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    std::vector<uint32_t> sleeps;

    // The desktop: its shell window (0: none), the window's process, that process's token's user
    // (nothing: GetTokenInformation fails) and the names of SIDs (domain, name).
    SysHandle shellWindow = 0;
    uint32_t shellProcessId = 0x9A0;
    std::set<uint32_t> refusedProcessAccess; // OpenProcess fails (5) when asked for these rights
    std::vector<uint32_t> processAccess;     // the rights each OpenProcess asked for
    bool shellTokenOk = true;
    std::optional<std::vector<uint8_t>> shellTokenSid;
    // Run after GetTokenInformation has filled the buffer, to damage the record.
    std::function<void(uint8_t* buffer, uint32_t length)> tamperTokenUser;
    std::map<std::vector<uint8_t>, std::pair<std::string, std::string>> sidNames;

    SysHandle GetShellWindow() override { return shellWindow; }
    uint32_t GetWindowThreadProcessId(SysHandle window, uint32_t* processId) override;
    SysHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override;
    bool GetTokenInformation(SysHandle token, uint32_t infoClass, uint8_t* buffer, uint32_t length,
                             uint32_t* returnLength) override;
    bool LookupAccountSidA(const std::string& systemName, const uint8_t* sid, char* name,
                           uint32_t* nameSize, char* domain, uint32_t* domainSize,
                           uint32_t* use) override;

    // The handles OpenProcess and OpenProcessToken hand out; the shell process's token is its
    // own.
    static constexpr SysHandle kProcess = 0x5C;
    static constexpr SysHandle kShellToken = 0x6C;
    static constexpr SysHandle kToken = 0x7C;
    uint32_t tokenAccess = 0;
};

} // namespace ww::test
