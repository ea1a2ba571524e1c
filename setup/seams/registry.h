#pragma once
// The registry as the ANSI advapi32 functions present it: names and data are bytes in the
// system's ANSI code page, results are Win32 status codes (0 success, 2 not found, 5 access
// denied, 234 more data, 259 no more items).
#include <cstdint>
#include <string>

namespace ww {

using HKey = uint32_t; // 0 = no key; the predefined roots are 0x80000000..0x80000006

inline constexpr HKey kHkeyClassesRoot = 0x80000000;
inline constexpr HKey kHkeyCurrentUser = 0x80000001;
inline constexpr HKey kHkeyLocalMachine = 0x80000002;
inline constexpr HKey kHkeyUsers = 0x80000003;
inline constexpr HKey kHkeyPerformanceData = 0x80000004;
inline constexpr HKey kHkeyCurrentConfig = 0x80000005;
inline constexpr HKey kHkeyDynData = 0x80000006;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
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

// Owns an opened key and closes it on every way out, as the A functions require.
class RegKey {
  public:
    explicit RegKey(Registry& reg) : reg_(reg) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { reg_.CloseKey(key_); }
    HKey* put() { return &key_; }
    HKey get() const { return key_; }

  private:
    Registry& reg_;
    HKey key_ = 0;
};

} // namespace ww
