#pragma once
#include "app.h"

namespace ww {

enum class PassOutcome {
    Done,
    EndedEarly,         // a failure ended the pass at its error box
    AdapterNotSwitched, // the NT road's switch of the adapter to DHCP returned False
};

// One settings pass: logs every setting (readOnly) or rewrites them for the router. Reports its
// own failures; the outcome tells the caller whether the PC got all the changes.
PassOutcome ConfigureNetwork(App& app, bool readOnly);

} // namespace ww
