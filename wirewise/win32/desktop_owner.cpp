// The calls that find who owns the desktop: the shell window's process and its token. Each is
// looked up at run time, so that a Windows without one (GetShellWindow before 2000, the token
// functions on Windows 9x) still starts the program and simply keeps the account's own hive.
#include <windows.h>

#include "common/win32/system_library.h"
#include "win32/system.h"

namespace ww {
namespace {

using GetShellWindowFn = HWND(WINAPI*)();
using GetWindowThreadProcessIdFn = DWORD(WINAPI*)(HWND, LPDWORD);
using OpenProcessFn = HANDLE(WINAPI*)(DWORD, BOOL, DWORD);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
using LookupAccountSidAFn = BOOL(WINAPI*)(LPCSTR, PSID, LPSTR, LPDWORD, LPSTR, LPDWORD,
                                          PSID_NAME_USE);

} // namespace

SysHandle Win32System::GetShellWindow() {
    const corvane::SystemLibrary user32("user32.dll");
    const auto fn = user32.Proc<GetShellWindowFn>("GetShellWindow");
    return fn ? reinterpret_cast<SysHandle>(fn()) : 0;
}

uint32_t Win32System::GetWindowThreadProcessId(SysHandle window, uint32_t* processId) {
    const corvane::SystemLibrary user32("user32.dll");
    const auto fn = user32.Proc<GetWindowThreadProcessIdFn>("GetWindowThreadProcessId");
    *processId = 0;
    if (!fn) return 0;
    DWORD id = 0;
    const DWORD thread = fn(reinterpret_cast<HWND>(window), &id);
    *processId = id;
    return thread;
}

SysHandle Win32System::OpenProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
    const corvane::SystemLibrary kernel32("kernel32.dll");
    const auto fn = kernel32.Proc<OpenProcessFn>("OpenProcess");
    if (!fn) return 0;
    return reinterpret_cast<SysHandle>(fn(access, inheritHandle ? TRUE : FALSE, processId));
}

bool Win32System::GetTokenInformation(SysHandle token, uint32_t infoClass, uint8_t* buffer,
                                      uint32_t length, uint32_t* returnLength) {
    const corvane::SystemLibrary advapi32("advapi32.dll");
    const auto fn = advapi32.Proc<GetTokenInformationFn>("GetTokenInformation");
    if (!fn) return false;
    DWORD returned = 0;
    const bool ok =
        fn(reinterpret_cast<HANDLE>(token), static_cast<TOKEN_INFORMATION_CLASS>(infoClass), buffer,
           length, &returned) != 0;
    const DWORD error = ::GetLastError();
    *returnLength = returned;
    SetLastError(error);
    return ok;
}

bool Win32System::LookupAccountSidA(const std::string& systemName, const uint8_t* sid, char* name,
                                    uint32_t* nameSize, char* domain, uint32_t* domainSize,
                                    uint32_t* use) {
    const corvane::SystemLibrary advapi32("advapi32.dll");
    const auto fn = advapi32.Proc<LookupAccountSidAFn>("LookupAccountSidA");
    if (!fn) return false;
    DWORD n = *nameSize;
    DWORD d = *domainSize;
    SID_NAME_USE u = SidTypeUser;
    const bool ok = fn(systemName.empty() ? nullptr : systemName.c_str(), const_cast<uint8_t*>(sid),
                       name, &n, domain, &d, &u) != 0;
    *nameSize = n;
    *domainSize = d;
    *use = static_cast<uint32_t>(u);
    return ok;
}

} // namespace ww
