// Placeholder until the settings engine lands.
#include "engine/settings_pass.h"

namespace ww {

void ConfigureNetwork(App&, bool) {}

} // namespace ww
