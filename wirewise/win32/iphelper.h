#pragma once
#include <map>
#include <string>

#include <windows.h>

#include "common/win32/owners.h"
#include "seams/iphelper.h"

namespace ww {

class Win32IpHelper final : public IpHelper {
  public:
    Win32IpHelper() = default;
    Win32IpHelper(const Win32IpHelper&) = delete;
    Win32IpHelper& operator=(const Win32IpHelper&) = delete;

    Module LoadLibraryFile(const std::string& fullPath) override;
    Proc ProcAddress(Module module, const char* name) override;
    uint32_t GetAdaptersInfo(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t GetNetworkParams(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t GetInterfaceInfo(Proc fn, void* buffer, uint32_t* size) override;
    uint32_t IpReleaseAddress(Proc fn, void* adapterIndexMap) override;
    uint32_t IpRenewAddress(Proc fn, void* adapterIndexMap) override;
    uint32_t LastError() override { return lastError_; }

  private:
    std::map<std::string, corvane::Module> modules_;
    uint32_t lastError_ = 0;
};

} // namespace ww
