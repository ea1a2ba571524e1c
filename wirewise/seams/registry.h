#pragma once
// The registry as the ANSI advapi32 functions present it: names and data are bytes in the
// system's ANSI code page, results are Win32 status codes (0 success, 2 not found, 5 access
// denied, 234 more data, 259 no more items).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ww {

// Wide enough for a handle of a 64-bit build. 0 = no key; the predefined roots are
// 0x80000000..0x80000006 (the Win32 seam widens them with their sign, as windows.h does).
using HKey = uintptr_t;

inline constexpr HKey kHkeyClassesRoot = 0x80000000;
inline constexpr HKey kHkeyCurrentUser = 0x80000001;
inline constexpr HKey kHkeyLocalMachine = 0x80000002;
inline constexpr HKey kHkeyUsers = 0x80000003;
inline constexpr HKey kHkeyPerformanceData = 0x80000004;
inline constexpr HKey kHkeyCurrentConfig = 0x80000005;
inline constexpr HKey kHkeyDynData = 0x80000006;

// The predefined roots' names, in the order of their numbers from kHkeyClassesRoot.
inline constexpr std::array<std::string_view, 7> kRootNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

// A predefined root's name; empty for any other key.
inline std::string_view RootName(HKey root) {
    if (root < kHkeyClassesRoot || root > kHkeyDynData) return {};
    return kRootNames[root - kHkeyClassesRoot];
}

// Access to an opened key: reading only (KEY_READ), or every right but DELETE, WRITE_DAC and
// WRITE_OWNER, with which a key the user may only read will not open.
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyReadWrite = 0x2003F;

// Value types by their Win32 numbers.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

class Registry {
  public:
    virtual ~Registry() = default;
    // RegOpenKeyExA
    virtual long OpenKeyEx(HKey root, const std::string& subKey, uint32_t options, uint32_t access,
                           HKey* result) = 0;
    // RegCreateKeyA: creates missing parents, opens an existing key
    virtual long CreateKey(HKey root, const std::string& subKey, HKey* result) = 0;
    // RegQueryValueExA; data may be null to ask for the size only
    virtual long QueryValueEx(HKey key, const std::string& valueName, uint32_t* type, uint8_t* data,
                              uint32_t* size) = 0;
    // RegSetValueExA
    virtual long SetValueEx(HKey key, const std::string& valueName, uint32_t type,
                            const uint8_t* data, uint32_t size) = 0;
    // RegEnumKeyA: name is a buffer of nameSize bytes that receives a NUL-terminated name
    virtual long EnumKey(HKey key, uint32_t index, char* name, uint32_t nameSize) = 0;
    // RegEnumValueA: nameSize in: the name buffer in characters; out: the name without its NUL.
    // data and its size may be null
    virtual long EnumValue(HKey key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                           uint8_t* data, uint32_t* dataSize) = 0;
    // RegCloseKey; closing a predefined root or 0 is harmless
    virtual long CloseKey(HKey key) = 0;
};

} // namespace ww
