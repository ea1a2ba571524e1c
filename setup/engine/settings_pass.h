#pragma once
#include "app.h"

namespace ww {

// One settings pass: logs every setting (readOnly) or rewrites them for the router.
void ConfigureNetwork(App& app, bool readOnly);

} // namespace ww
