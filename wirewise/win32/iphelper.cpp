#include "win32/iphelper.h"

#include <cstddef>

#include <iphlpapi.h>

#include "adapters/ip_records.h"
#include "seams/codepage.h"
#include "win32/file_paths.h"

namespace ww {
namespace {

// The program reads the records through its own declarations; they must match the system's.
// (The lease times are left out: the headers' time_t is not the width IP Helper writes.)
static_assert(sizeof(IP_ADDR_STRING) == sizeof(IpAddrStringRec));
static_assert(offsetof(IP_ADDR_STRING, IpMask) == offsetof(IpAddrStringRec, IpMask));
static_assert(offsetof(IP_ADAPTER_INFO, Description) == offsetof(IpAdapterInfoRec, Description));
static_assert(offsetof(IP_ADAPTER_INFO, Address) == offsetof(IpAdapterInfoRec, Address));
static_assert(offsetof(IP_ADAPTER_INFO, Index) == offsetof(IpAdapterInfoRec, Index));
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == offsetof(IpAdapterInfoRec, GatewayList));
static_assert(offsetof(IP_ADAPTER_INFO, SecondaryWinsServer) ==
              offsetof(IpAdapterInfoRec, SecondaryWinsServer));
static_assert(sizeof(FIXED_INFO) == sizeof(FixedInfoRec));
static_assert(offsetof(FIXED_INFO, DnsServerList) == offsetof(FixedInfoRec, DnsServerList));
static_assert(offsetof(FIXED_INFO, EnableDns) == offsetof(FixedInfoRec, EnableDns));
static_assert(sizeof(IP_ADAPTER_INDEX_MAP) == sizeof(IpAdapterIndexMapRec));

using SizedFetch = DWORD(WINAPI*)(void*, ULONG*);
using LeaseCall = DWORD(WINAPI*)(void*);

} // namespace

IpHelper::Module Win32IpHelper::LoadLibraryFile(const std::string& fullPath) {
    if (auto it = modules_.find(fullPath); it != modules_.end())
        return reinterpret_cast<Module>(it->second.get());
    // A missing file is an ordinary failure here, not a reason for a system error box. What the
    // file itself imports is looked for beside it first, not in the current folder.
    // The NT family loads from any folder name; Windows 9x folder names are ANSI anyway.
    const WideFileApi* wide = WideFiles();
    const std::wstring widePath = wide ? WideLibraryPath(fullPath) : std::wstring();
    if (wide && widePath.empty()) return 0;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module =
        wide ? wide->LoadLibraryEx(widePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
             : LoadLibraryExA(ToAnsi(fullPath).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(oldMode);
    if (module == nullptr) return 0;
    modules_.emplace(fullPath, corvane::Module(module));
    return reinterpret_cast<Module>(module);
}

IpHelper::Proc Win32IpHelper::ProcAddress(Module module, const char* name) {
    return reinterpret_cast<Proc>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

namespace {

uint32_t CallSized(IpHelper::Proc fn, void* buffer, uint32_t* size, uint32_t* lastError) {
    ULONG n = *size;
    const DWORD r = reinterpret_cast<SizedFetch>(fn)(buffer, &n);
    *lastError = GetLastError();
    *size = n;
    return r;
}

uint32_t CallLease(IpHelper::Proc fn, void* adapterIndexMap, uint32_t* lastError) {
    const DWORD r = reinterpret_cast<LeaseCall>(fn)(adapterIndexMap);
    *lastError = GetLastError();
    return r;
}

} // namespace

uint32_t Win32IpHelper::GetAdaptersInfo(Proc fn, void* buffer, uint32_t* size) {
    return CallSized(fn, buffer, size, &lastError_);
}
uint32_t Win32IpHelper::GetNetworkParams(Proc fn, void* buffer, uint32_t* size) {
    return CallSized(fn, buffer, size, &lastError_);
}
uint32_t Win32IpHelper::GetInterfaceInfo(Proc fn, void* buffer, uint32_t* size) {
    return CallSized(fn, buffer, size, &lastError_);
}
uint32_t Win32IpHelper::IpReleaseAddress(Proc fn, void* adapterIndexMap) {
    return CallLease(fn, adapterIndexMap, &lastError_);
}
uint32_t Win32IpHelper::IpRenewAddress(Proc fn, void* adapterIndexMap) {
    return CallLease(fn, adapterIndexMap, &lastError_);
}

} // namespace ww
