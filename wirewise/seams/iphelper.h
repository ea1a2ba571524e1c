#pragma once
// IP Helper as the program reaches it: a library file loaded by its full path, functions looked up
// by name in it, and calls through the addresses handed out, with the published signatures.
// Which file and when to bind is decided by the caller (adapters/ip_helper.h), not here.
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace ww {

inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorBufferOverflow = 111;

class IpHelper {
  public:
    using Module = uintptr_t; // 0 = not loaded
    using Proc = uintptr_t;   // 0 = not exported

    virtual ~IpHelper() = default;
    // LoadLibraryEx of a full path (program text), never searched for; 0 when the file can't
    // be loaded.
    // A loaded file stays loaded for the life of this object.
    virtual Module LoadLibraryFile(const std::string& fullPath) = 0;
    // GetProcAddress by name.
    virtual Proc ProcAddress(Module module, const char* name) = 0;

    // The five functions, called through an address ProcAddress gave for that name.
    virtual uint32_t GetAdaptersInfo(Proc fn, void* buffer, uint32_t* size) = 0;
    virtual uint32_t GetNetworkParams(Proc fn, void* buffer, uint32_t* size) = 0;
    virtual uint32_t GetInterfaceInfo(Proc fn, void* buffer, uint32_t* size) = 0;
    virtual uint32_t IpReleaseAddress(Proc fn, void* adapterIndexMap) = 0;
    virtual uint32_t IpRenewAddress(Proc fn, void* adapterIndexMap) = 0;
    // GetLastError as it stood right after the latest of the five calls.
    virtual uint32_t LastError() = 0;

    // Addresses bound so far, by "library!function"; filled by the binding code at each
    // function's first call and kept for the program's life, like the library files.
    std::map<std::string, Proc> bound;
    // Library files the binding code has logged as missing, each once for the program's life.
    std::set<std::string> reportedMissing;
    // The user has been told that the program's folder has too long a path to load from.
    bool toldPathTooLong = false;
};

} // namespace ww
