#pragma once
// The kernel32, advapi32, netapi32 and user32 calls wirewise makes besides the registry, each in
// its ANSI form and with its Win32 result: BOOL calls give true/false and leave their reason for
// GetLastError, netapi32 gives a NET_API_STATUS. Texts are ANSI bytes except where noted.
#include <cstdint>
#include <string>

namespace ww {

// OSVERSIONINFOA; only the fields wirewise reads. The caller presets the size to 148.
struct OsVersionInfo {
    uint32_t dwOSVersionInfoSize = 148;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
};

struct Luid {
    uint32_t LowPart = 0;
    int32_t HighPart = 0;
};

struct LuidAndAttributes {
    Luid luid;
    uint32_t Attributes = 0;
};

// TOKEN_PRIVILEGES with room for one privilege: 4 + 12 bytes in Win32.
struct TokenPrivileges {
    uint32_t PrivilegeCount = 0;
    LuidAndAttributes Privileges[1];
};

inline constexpr uint32_t kTokenAdjustPrivileges = 0x20;
inline constexpr uint32_t kTokenQuery = 0x08;
inline constexpr uint32_t kTokenUser = 1; // TOKEN_INFORMATION_CLASS
inline constexpr uint32_t kProcessQueryInformation = 0x400;
inline constexpr uint32_t kProcessQueryLimitedInformation = 0x1000; // Vista and later
inline constexpr uint32_t kSePrivilegeEnabled = 2;
inline constexpr uint32_t kEwxReboot = 2;
inline constexpr uint32_t kFormatMessageFromSystem = 0x1000;

inline constexpr uint32_t kErrorNoneMapped = 1332;
inline constexpr uint32_t kErrorPrivilegeNotHeld = 1314;
inline constexpr uint32_t kNerrDcNotFound = 2453;

using SysHandle = uintptr_t; // 0 = none

class System {
  public:
    virtual ~System() = default;

    // GetVersionExA
    virtual bool GetVersionExA(OsVersionInfo* info) = 0;
    // RtlGetVersion of ntdll, looked up at run time: the version Windows really is, which no
    // compatibility setting of the program changes. False where ntdll lacks it (Windows 9x,
    // NT 4) or it fails.
    virtual bool RtlGetVersion(OsVersionInfo* info) = 0;
    // GetUserNameA: size in/out in characters, the NUL included
    virtual bool GetUserNameA(char* buffer, uint32_t* size) = 0;
    // GetComputerNameA: size in characters; on success it becomes the length without the NUL
    virtual bool GetComputerNameA(char* buffer, uint32_t* size) = 0;
    // LookupAccountNameA; an empty systemName is the local system
    virtual bool LookupAccountNameA(const std::string& systemName, const std::string& accountName,
                                    uint8_t* sid, uint32_t* sidSize, char* domain,
                                    uint32_t* domainSize, uint32_t* use) = 0;
    // GetSidIdentifierAuthority, GetSidSubAuthorityCount, GetSidSubAuthority: pointers into the
    // SID itself, nothing is checked (as in Win32)
    virtual const uint8_t* GetSidIdentifierAuthority(const uint8_t* sid) = 0;
    virtual const uint8_t* GetSidSubAuthorityCount(const uint8_t* sid) = 0;
    virtual const uint8_t* GetSidSubAuthority(const uint8_t* sid, uint32_t index) = 0;
    // NetGetDCName with lstrcpyW and NetApiBufferFree folded in; texts are UTF-8 here and
    // UTF-16 towards netapi32. dcName is set only when the status is 0.
    virtual uint32_t NetGetDCName(const std::string& server, const std::string& domain,
                                  std::string* dcName) = 0;

    // GetCurrentProcess (a pseudo handle, needs no closing), OpenProcessToken, CloseHandle
    virtual SysHandle GetCurrentProcess() = 0;
    virtual bool OpenProcessToken(SysHandle process, uint32_t access, SysHandle* token) = 0;
    virtual bool CloseHandle(SysHandle handle) = 0;
    // LookupPrivilegeValueA; an empty systemName is the local system
    virtual bool LookupPrivilegeValueA(const std::string& systemName, const std::string& name,
                                       Luid* luid) = 0;
    // AdjustTokenPrivileges; bufferLength is the size of previousState in Win32 bytes
    virtual bool AdjustTokenPrivileges(SysHandle token, bool disableAll,
                                       const TokenPrivileges& newState, uint32_t bufferLength,
                                       TokenPrivileges* previousState, uint32_t* returnLength) = 0;
    // ExitWindowsEx
    virtual bool ExitWindowsEx(uint32_t flags, uint32_t reason) = 0;
    // FormatMessageA without inserts: characters stored (NUL not counted), 0 on failure
    virtual uint32_t FormatMessageA(uint32_t flags, uint32_t messageId, uint32_t languageId,
                                    char* buffer, uint32_t size) = 0;
    // GetLastError of the calling thread
    virtual uint32_t GetLastError() = 0;

    // One message-pump step: every pending window message of the thread is dispatched, so the
    // window repaints and its handlers run in the middle of a long walk.
    virtual void DoEvents() = 0;
    // GetTickCount: milliseconds since the system started, wrapping after 49.7 days
    virtual uint32_t GetTickCount() = 0;
    // Sleep: the thread waits, its window unpainted, for the given milliseconds
    virtual void Sleep(uint32_t milliseconds) = 0;

    // Who owns the desktop, each looked up at run time (desktop_owner.cpp). GetShellWindow: 0
    // when there is no shell (or, before Windows 2000, no such function).
    virtual SysHandle GetShellWindow() = 0;
    // GetWindowThreadProcessId: the thread's id (0 on failure); processId receives the process's
    virtual uint32_t GetWindowThreadProcessId(SysHandle window, uint32_t* processId) = 0;
    // OpenProcess: 0 on failure
    virtual SysHandle OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) = 0;
    // GetTokenInformation: buffer receives the class's record as Win32 lays it out for this
    // build's pointer size, with its pointers pointing into buffer itself
    virtual bool GetTokenInformation(SysHandle token, uint32_t infoClass, uint8_t* buffer,
                                     uint32_t length, uint32_t* returnLength) = 0;
    // LookupAccountSidA; an empty systemName is the local system; sizes in characters
    virtual bool LookupAccountSidA(const std::string& systemName, const uint8_t* sid, char* name,
                                   uint32_t* nameSize, char* domain, uint32_t* domainSize,
                                   uint32_t* use) = 0;
};

// A handle of the System seam, closed on every way out. OpenProcessToken and OpenProcess close
// the handle held before they take the next.
class SysHandleOwner {
  public:
    explicit SysHandleOwner(System& sys) : sys_(sys) {}
    SysHandleOwner(const SysHandleOwner&) = delete;
    SysHandleOwner& operator=(const SysHandleOwner&) = delete;
    ~SysHandleOwner() { Close(); }

    SysHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }
    void Close() {
        if (handle_ != 0) sys_.CloseHandle(handle_);
        handle_ = 0;
    }

    // OpenProcessToken
    bool OpenProcessToken(SysHandle process, uint32_t access) {
        Close();
        return sys_.OpenProcessToken(process, access, &handle_);
    }
    // OpenProcess
    bool OpenProcess(uint32_t access, uint32_t processId) {
        Close();
        handle_ = sys_.OpenProcess(access, false, processId);
        return handle_ != 0;
    }

  private:
    System& sys_;
    SysHandle handle_ = 0;
};

} // namespace ww
