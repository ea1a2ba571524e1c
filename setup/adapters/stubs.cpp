// Placeholders until the modules land; each is removed as its real definition arrives.
#include "adapters/win9x_scan.h"

namespace ww {

void Win9xNicScan::SearchNextWin9xNIC() {
    (void)app_;
}

} // namespace ww
