#include "win32/system.h"

#include <windows.h>

#include <lm.h>

#include <string>

#include "common/win32/codepage.h"
#include "common/win32/owners.h"
#include "common/win32/system_library.h"

namespace ww {
namespace {

HANDLE ToHandle(SysHandle h) {
    return reinterpret_cast<HANDLE>(h);
}

// A system name for the A functions: the empty text means the local system.
const char* SystemName(const std::string& name) {
    return name.empty() ? nullptr : name.c_str();
}

using NetGetDCNameFn = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, LPBYTE*);
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

// The token, privilege and SID functions that only the NT road calls. Windows 9x's advapi32 may
// not export them at all, and one name the loader cannot bind keeps the program from starting
// there, so they are looked up when first called, from the system folder's advapi32.
using LookupAccountNameFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PSID, LPDWORD, LPSTR, LPDWORD,
                                          PSID_NAME_USE);
using GetSidIdentifierAuthorityFn = PSID_IDENTIFIER_AUTHORITY(WINAPI*)(PSID);
using GetSidSubAuthorityCountFn = PUCHAR(WINAPI*)(PSID);
using GetSidSubAuthorityFn = PDWORD(WINAPI*)(PSID, DWORD);
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using LookupPrivilegeValueFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD,
                                              PTOKEN_PRIVILEGES, PDWORD);

const corvane::SystemLibrary& Advapi32() {
    static const corvane::SystemLibrary library("advapi32.dll");
    return library;
}

// The function the system lacks fails the way a Windows 9x stub does.
bool NotImplemented() {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
}

TOKEN_PRIVILEGES ToWin32(const TokenPrivileges& p) {
    TOKEN_PRIVILEGES t{};
    t.PrivilegeCount = p.PrivilegeCount;
    t.Privileges[0].Luid.LowPart = p.Privileges[0].luid.LowPart;
    t.Privileges[0].Luid.HighPart = p.Privileges[0].luid.HighPart;
    t.Privileges[0].Attributes = p.Privileges[0].Attributes;
    return t;
}

} // namespace

bool Win32System::GetVersionExA(OsVersionInfo* info) {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
#ifdef _MSC_VER
#pragma warning(suppress : 4996) // the program classifies exactly what the call reports
#endif
    if (!::GetVersionExA(&vi)) return false;
    info->dwMajorVersion = vi.dwMajorVersion;
    info->dwMinorVersion = vi.dwMinorVersion;
    info->dwBuildNumber = vi.dwBuildNumber;
    info->dwPlatformId = vi.dwPlatformId;
    return true;
}

// Windows 2000 and later; before that ntdll lacks the function and the version call's answer
// stands.
bool Win32System::RtlGetVersion(OsVersionInfo* info) {
    const corvane::SystemLibrary ntdll("ntdll.dll");
    const auto rtlGetVersion = ntdll.Proc<RtlGetVersionFn>("RtlGetVersion");
    if (!rtlGetVersion) return false;
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (rtlGetVersion(&vi) != 0) return false;
    info->dwMajorVersion = vi.dwMajorVersion;
    info->dwMinorVersion = vi.dwMinorVersion;
    info->dwBuildNumber = vi.dwBuildNumber;
    info->dwPlatformId = vi.dwPlatformId;
    return true;
}

bool Win32System::GetUserNameA(char* buffer, uint32_t* size) {
    DWORD s = *size;
    const bool ok = ::GetUserNameA(buffer, &s) != 0;
    *size = s;
    return ok;
}

bool Win32System::GetComputerNameA(char* buffer, uint32_t* size) {
    DWORD s = *size;
    const bool ok = ::GetComputerNameA(buffer, &s) != 0;
    *size = s;
    return ok;
}

bool Win32System::LookupAccountNameA(const std::string& systemName, const std::string& accountName,
                                     uint8_t* sid, uint32_t* sidSize, char* domain,
                                     uint32_t* domainSize, uint32_t* use) {
    DWORD s = *sidSize;
    DWORD d = *domainSize;
    SID_NAME_USE u = static_cast<SID_NAME_USE>(*use);
    const auto lookup = Advapi32().Proc<LookupAccountNameFn>("LookupAccountNameA");
    if (!lookup) return NotImplemented();
    const bool ok =
        lookup(SystemName(systemName), accountName.c_str(), sid, &s, domain, &d, &u) != 0;
    *sidSize = s;
    *domainSize = d;
    *use = static_cast<uint32_t>(u);
    return ok;
}

// Without the accessor there is no pointer into the SID, which the caller takes as an empty SID.
const uint8_t* Win32System::GetSidIdentifierAuthority(const uint8_t* sid) {
    const auto get = Advapi32().Proc<GetSidIdentifierAuthorityFn>("GetSidIdentifierAuthority");
    if (!get) return nullptr;
    return reinterpret_cast<const uint8_t*>(get(const_cast<uint8_t*>(sid)));
}

const uint8_t* Win32System::GetSidSubAuthorityCount(const uint8_t* sid) {
    const auto get = Advapi32().Proc<GetSidSubAuthorityCountFn>("GetSidSubAuthorityCount");
    if (!get) return nullptr;
    return get(const_cast<uint8_t*>(sid));
}

const uint8_t* Win32System::GetSidSubAuthority(const uint8_t* sid, uint32_t index) {
    const auto get = Advapi32().Proc<GetSidSubAuthorityFn>("GetSidSubAuthority");
    if (!get) return nullptr;
    return reinterpret_cast<const uint8_t*>(get(const_cast<uint8_t*>(sid), index));
}

// Windows 9x has no netapi32 at all: there the call fails like one that finds no controller.
uint32_t Win32System::NetGetDCName(const std::string& server, const std::string& domain,
                                   std::string* dcName) {
    const corvane::SystemLibrary netapi("netapi32.dll");
    const auto getDcName = netapi.Proc<NetGetDCNameFn>("NetGetDCName");
    const auto bufferFree = netapi.Proc<corvane::NetBuffer::FreeFn>("NetApiBufferFree");
    if (!getDcName || !bufferFree) return netapi.Error();
    const std::wstring s = corvane::ToUtf16(server);
    const std::wstring d = corvane::ToUtf16(domain);
    corvane::NetBuffer buffer(bufferFree);
    const NET_API_STATUS status = getDcName(s.c_str(), d.c_str(), buffer.Put());
    if (status == NERR_Success && buffer.get() != nullptr)
        *dcName = corvane::FromUtf16(reinterpret_cast<const wchar_t*>(buffer.get()));
    return status;
}

SysHandle Win32System::GetCurrentProcess() {
    return reinterpret_cast<SysHandle>(::GetCurrentProcess());
}

bool Win32System::OpenProcessToken(SysHandle process, uint32_t access, SysHandle* token) {
    *token = 0;
    const auto open = Advapi32().Proc<OpenProcessTokenFn>("OpenProcessToken");
    if (!open) return NotImplemented();
    HANDLE t = nullptr;
    const bool ok = open(ToHandle(process), access, &t) != 0;
    *token = ok ? reinterpret_cast<SysHandle>(t) : 0;
    return ok;
}

bool Win32System::CloseHandle(SysHandle handle) {
    return ::CloseHandle(ToHandle(handle)) != 0;
}

bool Win32System::LookupPrivilegeValueA(const std::string& systemName, const std::string& name,
                                        Luid* luid) {
    LUID l{};
    const auto lookup = Advapi32().Proc<LookupPrivilegeValueFn>("LookupPrivilegeValueA");
    const bool ok =
        lookup ? lookup(SystemName(systemName), name.c_str(), &l) != 0 : NotImplemented();
    luid->LowPart = l.LowPart;
    luid->HighPart = l.HighPart;
    return ok;
}

bool Win32System::AdjustTokenPrivileges(SysHandle token, bool disableAll,
                                        const TokenPrivileges& newState, uint32_t bufferLength,
                                        TokenPrivileges* previousState, uint32_t* returnLength) {
    const auto adjust = Advapi32().Proc<AdjustTokenPrivilegesFn>("AdjustTokenPrivileges");
    if (!adjust) return NotImplemented();
    TOKEN_PRIVILEGES next = ToWin32(newState);
    TOKEN_PRIVILEGES previous{};
    // Never more than the record really holds.
    const DWORD length = bufferLength < sizeof previous ? bufferLength : sizeof previous;
    DWORD returned = returnLength != nullptr ? *returnLength : 0;
    const bool ok = adjust(ToHandle(token), disableAll ? TRUE : FALSE, &next, length,
                           previousState != nullptr ? &previous : nullptr,
                           returnLength != nullptr ? &returned : nullptr) != 0;
    const DWORD error = ::GetLastError();
    if (previousState != nullptr) {
        previousState->PrivilegeCount = previous.PrivilegeCount;
        previousState->Privileges[0].luid.LowPart = previous.Privileges[0].Luid.LowPart;
        previousState->Privileges[0].luid.HighPart = previous.Privileges[0].Luid.HighPart;
        previousState->Privileges[0].Attributes = previous.Privileges[0].Attributes;
    }
    if (returnLength != nullptr) *returnLength = returned;
    SetLastError(error);
    return ok;
}

bool Win32System::ExitWindowsEx(uint32_t flags, uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != 0;
}

uint32_t Win32System::FormatMessageA(uint32_t flags, uint32_t messageId, uint32_t languageId,
                                     char* buffer, uint32_t size) {
    return ::FormatMessageA(flags, nullptr, messageId, languageId, buffer, size, nullptr);
}

uint32_t Win32System::GetLastError() {
    return ::GetLastError();
}

} // namespace ww
