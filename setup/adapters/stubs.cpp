// Placeholders until the modules land; each is removed as its real definition arrives.
#include "adapters/adapter_list.h"
#include "adapters/ipconfig_report.h"
#include "adapters/win9x_scan.h"

namespace ww {

void ListAdapters(App&, AdapterBox&) {}
std::string StripNull(const std::string& text, const std::string&) { return text; }
void Win9xNicScan::SearchNextWin9xNIC() { (void)app_; }
void LogIpConfig(App&) {}

} // namespace ww
