#pragma once
// The registry seam on advapi32's ANSI functions.
#include "seams/registry.h"

namespace ww {

class Win32Registry final : public Registry {
  public:
    long OpenKeyEx(HKey root, const std::string& subKey, uint32_t options, uint32_t access,
                   HKey* result) override;
    long CreateKey(HKey root, const std::string& subKey, HKey* result) override;
    long QueryValueEx(HKey key, const std::string& valueName, uint32_t* type, uint8_t* data,
                      uint32_t* size) override;
    long SetValueEx(HKey key, const std::string& valueName, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
    long EnumKey(HKey key, uint32_t index, char* name, uint32_t nameSize) override;
    long EnumValue(HKey key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                   uint8_t* data, uint32_t* dataSize) override;
    long CloseKey(HKey key) override;
};

} // namespace ww
