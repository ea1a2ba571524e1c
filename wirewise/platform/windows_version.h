#pragma once
// Which Windows the program runs on, which decides the road of every settings pass.
#include "app.h"

namespace ww {

// Classifies the running Windows, logs "OS = ..." as the version call names it and notes whether
// the platform is NT. Where the system really is another family (the program runs with a
// compatibility setting), logs "Compatibility mode: Windows NT <major>.<minor> build <n>" and
// classifies the real one.
OsFamily DetectOS(App& app);

} // namespace ww
