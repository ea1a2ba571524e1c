#pragma once
// How far the switch of the adapter to the router's settings got, as the write pass reports it
// and the window ends the run.
#include <string>

namespace ww {

enum class SwitchOutcome {
    Done,
    DoneRestartNeeded, // Windows answered that it takes effect after a restart
    NoAddressYet,      // switched, but the router has not handed out an address yet
    Failed,
};

inline bool SwitchDone(SwitchOutcome outcome) {
    return outcome == SwitchOutcome::Done || outcome == SwitchOutcome::DoneRestartNeeded;
}

inline std::string OutcomeLine(SwitchOutcome outcome) {
    switch (outcome) {
    case SwitchOutcome::Done:
        return "Outcome = Done";
    case SwitchOutcome::DoneRestartNeeded:
        return "Outcome = Done, restart needed";
    case SwitchOutcome::NoAddressYet:
        return "Outcome = No address from the router yet";
    case SwitchOutcome::Failed:
        break;
    }
    return "Outcome = Failed";
}

} // namespace ww
