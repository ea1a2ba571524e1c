#pragma once
#include "app.h"

namespace ww {

// Appends the ipconfig-style status report to the log.
void LogIpConfig(App& app);

} // namespace ww
