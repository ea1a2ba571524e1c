#pragma once
#include <string>
#include <vector>

#include "app.h"
#include "seams/registry.h"

namespace ww {

// One registry value by its place; the key path as the program spells it.
struct RegLocation {
    HKey root;
    std::string keyPath;
    std::string valueName;
};

enum class PassOutcome {
    Done,
    DoneRestartNeeded,  // Windows answered that the switch takes effect after a restart
    NoAddressYet,       // switched, but the router has not given the adapter an address yet
    EndedEarly,         // a failure ended the pass at its error box
    AdapterNotSwitched, // the adapter could not be switched to DHCP
};

// One settings pass: logs every setting (readOnly) or rewrites them for the router. Reports its
// own failures; the outcome tells the caller whether the PC got all the changes.
PassOutcome ConfigureNetwork(App& app, bool readOnly);

// Every value that the write pass of a setup run and its adapter switch may change, for the
// selected adapter on the road of this system, in the order the pass reaches them.
std::vector<RegLocation> ValuesASetupRunMayChange(App& app);

} // namespace ww
