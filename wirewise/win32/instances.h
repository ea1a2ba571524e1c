#pragma once
#include "common/win32/owners.h"
#include "seams/instances.h"

namespace ww {

class Win32Instances final : public Instances {
  public:
    bool ClaimOnlyCopy() override;
    void ShowRunningCopy() override;

  private:
    corvane::KernelObject
        mark_; // held until the program ends; the system drops it with the process
};

} // namespace ww
