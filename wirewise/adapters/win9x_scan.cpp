#include "adapters/win9x_scan.h"

#include <memory>

#include "adapters/enum_reg_values.h"
#include "platform/ascii_case.h"
#include "platform/registry_values.h"

namespace ww {
namespace {

constexpr const char* kNetTrans = "Nettrans\\";

// The text after the first "Nettrans\" in driver, found without regard to case; nothing when
// driver holds none.
bool NetTransInstance(const std::string& driver, std::string& instance) {
    const size_t at = UpperAscii(driver).find("NETTRANS\\");
    if (at == std::string::npos) return false;
    instance = driver.substr(at + std::char_traits<char>::length(kNetTrans));
    return true;
}

} // namespace

void Win9xNicScan::SearchNextWin9xNIC() {
    if (ScanPosition >= app_.AdapterCount ||
        static_cast<size_t>(ScanPosition) + 1 >= app_.Adapters.size()) {
        PopulateWin9xNICs();
        return;
    }
    ++ScanPosition;
    ScanText = app_.Adapters[static_cast<size_t>(ScanPosition)].DisplayText;
    const auto search = std::make_unique<cRegSearch>(app_, *this);
    cReg = search.get();
    cReg->RootKey = kHkeyLocalMachine;
    cReg->Subkey = "Enum\\PCI";
    cReg->SearchFlags = kSearchValueContents | kSearchWholeText;
    cReg->SearchString = ScanText;
    search->DoSearch();
}

void Win9xNicScan::cReg_SearchFound(const std::string&, const std::string& sKey, const std::string&,
                                    int32_t) {
    if (ScanPosition < 1 || static_cast<size_t>(ScanPosition) >= app_.Adapters.size()) return;
    const size_t slash = sKey.find_last_of('\\');
    app_.Adapters[static_cast<size_t>(ScanPosition)].DeviceKey =
        slash == std::string::npos ? sKey : sKey.substr(0, slash);
}

void Win9xNicScan::cReg_SearchFinished(int32_t) {
    if (cReg) cReg->StopSearch();
    cReg = nullptr;
    SearchNextWin9xNIC();
}

void Win9xNicScan::PopulateWin9xNICs() {
    const int16_t count = app_.AdapterCount;
    for (int16_t i = 1; i <= count && static_cast<size_t>(i) < app_.Adapters.size(); ++i) {
        AdapterEntry& entry = app_.Adapters[static_cast<size_t>(i)];
        entry.BindingName =
            EnumRegValues(app_, kHkeyLocalMachine, entry.DeviceKey + "\\Bindings", "MSTCP");
        std::string driver;
        ReadRegValue(app_, kHkeyLocalMachine, "Enum\\Network\\" + entry.BindingName, "Driver",
                     driver);
        std::string instance;
        if (NetTransInstance(driver, instance)) entry.AdapterKey = instance;
    }
}

} // namespace ww
