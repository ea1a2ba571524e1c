#pragma once
// Windows 9x: finds each adapter's device key and NetTrans instance, one registry search at a time.
#include <cstdint>

#include "app.h"

namespace ww {

class Win9xNicScan {
  public:
    explicit Win9xNicScan(App& app) : app_(app) {}
    int16_t ScanPosition = 0;
    // Runs the whole chain of searches; returns when the scan has finished.
    void SearchNextWin9xNIC();

  private:
    App& app_;
};

} // namespace ww
