#include "win32/registry.h"

#include <windows.h>

namespace ww {
namespace {

// The predefined roots are 32-bit values that windows.h widens with their sign, which keeps them
// right on 64-bit Windows too; every other key is a handle kept whole.
HKEY ToHkey(HKey key) {
    if (key >= kHkeyClassesRoot && key <= kHkeyDynData)
        return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(key)));
    return reinterpret_cast<HKEY>(key);
}
HKey FromHkey(HKEY key) {
    return reinterpret_cast<HKey>(key);
}

} // namespace

long Win32Registry::OpenKeyEx(HKey root, const std::string& subKey, uint32_t options,
                              uint32_t access, HKey* result) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(ToHkey(root), subKey.c_str(), options, access, &opened);
    *result = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
    return status;
}

long Win32Registry::CreateKey(HKey root, const std::string& subKey, HKey* result) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyA(ToHkey(root), subKey.c_str(), &created);
    *result = status == ERROR_SUCCESS ? FromHkey(created) : 0;
    return status;
}

long Win32Registry::QueryValueEx(HKey key, const std::string& valueName, uint32_t* type,
                                 uint8_t* data, uint32_t* size) {
    DWORD t = 0;
    DWORD s = size != nullptr ? *size : 0;
    const LONG status = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &t, data,
                                         size != nullptr ? &s : nullptr);
    if (type != nullptr) *type = t;
    if (size != nullptr) *size = s;
    return status;
}

long Win32Registry::SetValueEx(HKey key, const std::string& valueName, uint32_t type,
                               const uint8_t* data, uint32_t size) {
    return RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type, data, size);
}

long Win32Registry::EnumKey(HKey key, uint32_t index, char* name, uint32_t nameSize) {
    return RegEnumKeyA(ToHkey(key), index, name, nameSize);
}

long Win32Registry::EnumValue(HKey key, uint32_t index, char* name, uint32_t* nameSize,
                              uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    DWORD n = *nameSize;
    DWORD t = 0;
    DWORD d = dataSize != nullptr ? *dataSize : 0;
    const LONG status = RegEnumValueA(ToHkey(key), index, name, &n, nullptr, &t, data,
                                      dataSize != nullptr ? &d : nullptr);
    *nameSize = n;
    if (type != nullptr) *type = t;
    if (dataSize != nullptr) *dataSize = d;
    return status;
}

long Win32Registry::CloseKey(HKey key) {
    if (key == 0) return ERROR_INVALID_HANDLE;
    return RegCloseKey(ToHkey(key));
}

} // namespace ww
