#pragma once
// Windows 9x: finds each adapter's device key and NetTrans instance, one registry search at a time.
#include <cstdint>
#include <string>

#include "app.h"
#include "platform/reg_search.h"

namespace ww {

class Win9xNicScan final : public RegSearchEvents {
  public:
    explicit Win9xNicScan(App& app) : app_(app) {}
    Win9xNicScan(const Win9xNicScan&) = delete;
    Win9xNicScan& operator=(const Win9xNicScan&) = delete;

    int16_t ScanPosition = 0;
    std::string ScanText; // the DisplayText being searched for
    // The search that is running; none between searches. Releasing it here only lets go of it:
    // the object lives on until its DoSearch has returned.
    cRegSearch* cReg = nullptr;

    // Starts the search for the next adapter, or completes the scan after the last one. The
    // searches nest: when the first call returns, the whole scan has finished.
    void SearchNextWin9xNIC();
    // Takes each adapter's binding and NetTrans instance from the device keys found.
    void PopulateWin9xNICs();

    void cReg_SearchFound(const std::string& sRootKey, const std::string& sKey,
                          const std::string& sValue, int32_t lFound) override;
    void cReg_SearchFinished(int32_t lReason) override;

  private:
    App& app_;
};

} // namespace ww
