#pragma once
// The System seam on kernel32, advapi32, netapi32 and user32.
#include "seams/system.h"

namespace ww {

class Win32System final : public System {
  public:
    bool GetVersionExA(OsVersionInfo* info) override;
    bool RtlGetVersion(OsVersionInfo* info) override;
    bool GetUserNameA(char* buffer, uint32_t* size) override;
    bool GetComputerNameA(char* buffer, uint32_t* size) override;
    bool LookupAccountNameA(const std::string& systemName, const std::string& accountName,
                            uint8_t* sid, uint32_t* sidSize, char* domain, uint32_t* domainSize,
                            uint32_t* use) override;
    const uint8_t* GetSidIdentifierAuthority(const uint8_t* sid) override;
    const uint8_t* GetSidSubAuthorityCount(const uint8_t* sid) override;
    const uint8_t* GetSidSubAuthority(const uint8_t* sid, uint32_t index) override;
    uint32_t NetGetDCName(const std::string& server, const std::string& domain,
                          std::string* dcName) override;
    SysHandle GetCurrentProcess() override;
    bool OpenProcessToken(SysHandle process, uint32_t access, SysHandle* token) override;
    bool CloseHandle(SysHandle handle) override;
    bool LookupPrivilegeValueA(const std::string& systemName, const std::string& name,
                               Luid* luid) override;
    bool AdjustTokenPrivileges(SysHandle token, bool disableAll, const TokenPrivileges& newState,
                               uint32_t bufferLength, TokenPrivileges* previousState,
                               uint32_t* returnLength) override;
    bool ExitWindowsEx(uint32_t flags, uint32_t reason) override;
    uint32_t FormatMessageA(uint32_t flags, uint32_t messageId, uint32_t languageId, char* buffer,
                            uint32_t size) override;
    uint32_t GetLastError() override;
    void DoEvents() override;                   // pump.cpp
    uint32_t GetTickCount() override;           // pump.cpp
    void Sleep(uint32_t milliseconds) override; // pump.cpp
    // desktop_owner.cpp
    SysHandle GetShellWindow() override;
    uint32_t GetWindowThreadProcessId(SysHandle window, uint32_t* processId) override;
    SysHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) override;
    bool GetTokenInformation(SysHandle token, uint32_t infoClass, uint8_t* buffer, uint32_t length,
                             uint32_t* returnLength) override;
    bool LookupAccountSidA(const std::string& systemName, const uint8_t* sid, char* name,
                           uint32_t* nameSize, char* domain, uint32_t* domainSize,
                           uint32_t* use) override;
};

} // namespace ww
