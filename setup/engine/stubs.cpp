// Placeholder until the IP Helper seam lands.
#include "engine/dhcp_refresh.h"

namespace ww {

bool RefreshDhcp(App&, int32_t) {
    return false;
}

} // namespace ww
