#pragma once
// Two copies at once (autorun and a double-click) would write the same registry values and
// log into the same file in turns: the second copy says so and gives way to the first.
#include "seams/instances.h"
#include "seams/ui.h"

namespace ww {

inline constexpr char kAlreadyRunning[] = "Corvane Wirewise is already running.";

// True when this is the only copy and the program may start. Otherwise tells the user, brings
// the running copy to the front and returns false: the program then ends without writing
// anything, so the check comes before the first log line.
bool StartAsOnlyCopy(Instances& instances, Ui& ui);

} // namespace ww
