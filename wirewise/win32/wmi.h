#pragma once
// WMI through its COM interfaces: locator, ConnectServer, ExecQuery, ExecMethod.
#include "seams/wmi.h"

namespace ww {

class Win32Wmi final : public Wmi {
  public:
    HResult ConnectServer(const std::string& nameSpace,
                          std::unique_ptr<WmiService>* service) override;
};

} // namespace ww
