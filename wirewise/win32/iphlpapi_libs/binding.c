/* The IP Helper library files beside wirewise. Each export binds the function of the same name
   in the system folder's iphlpapi.dll at its first call and calls through to it. The system
   library is loaded by its full path, never by name, so that no file of that name lying beside
   the program is loaded in its place; a system without it (Windows 95, a bare NT 4) gets
   ERROR_NOT_SUPPORTED from every call, with the loader's error as the last error.

   The files carry no C runtime: nothing here may call into one, so the few string steps are
   written out by hand. */
#include <windows.h>

typedef DWORD(WINAPI* SizedFetch)(void* buffer, ULONG* size);
typedef DWORD(WINAPI* LeaseCall)(void* adapterIndexMap);

static HMODULE systemLibrary;

static HMODULE SystemIpHelper(void) {
    static const char name[] = "\\iphlpapi.dll";
    char path[MAX_PATH];
    UINT length;
    UINT i;
    UINT oldMode;
    if (systemLibrary != NULL) return systemLibrary;
    length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof name > MAX_PATH) return NULL;
    if (path[length - 1] == '\\') --length;
    for (i = 0; i < sizeof name; ++i)
        path[length + i] = name[i];
    oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    systemLibrary = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(oldMode);
    return systemLibrary;
}

/* The system's function, or NULL with the reason as the last error. Kept once found; a missing
   one is looked for again at the next call. */
static FARPROC Bind(FARPROC* slot, const char* name) {
    HMODULE module;
    if (*slot != NULL) return *slot;
    module = SystemIpHelper();
    if (module == NULL) return NULL;
    *slot = GetProcAddress(module, name);
    return *slot;
}

static DWORD CallSized(FARPROC* slot, const char* name, void* buffer, ULONG* size) {
    const FARPROC fn = Bind(slot, name);
    if (fn == NULL) return ERROR_NOT_SUPPORTED;
    return ((SizedFetch)fn)(buffer, size);
}

static DWORD CallLease(FARPROC* slot, const char* name, void* adapterIndexMap) {
    const FARPROC fn = Bind(slot, name);
    if (fn == NULL) return ERROR_NOT_SUPPORTED;
    return ((LeaseCall)fn)(adapterIndexMap);
}

static FARPROC getAdaptersInfo, getNetworkParams, getInterfaceInfo, ipReleaseAddress,
    ipRenewAddress;

DWORD WINAPI GetAdaptersInfo(void* adapterInfo, ULONG* size) {
    return CallSized(&getAdaptersInfo, "GetAdaptersInfo", adapterInfo, size);
}

DWORD WINAPI GetNetworkParams(void* fixedInfo, ULONG* size) {
    return CallSized(&getNetworkParams, "GetNetworkParams", fixedInfo, size);
}

DWORD WINAPI GetInterfaceInfo(void* interfaceInfo, ULONG* size) {
    return CallSized(&getInterfaceInfo, "GetInterfaceInfo", interfaceInfo, size);
}

DWORD WINAPI IpReleaseAddress(void* adapterIndexMap) {
    return CallLease(&ipReleaseAddress, "IpReleaseAddress", adapterIndexMap);
}

DWORD WINAPI IpRenewAddress(void* adapterIndexMap) {
    return CallLease(&ipRenewAddress, "IpRenewAddress", adapterIndexMap);
}

BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
