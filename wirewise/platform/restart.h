#pragma once
// The restart at the end of a setup run.
#include <cstdint>
#include <string>

#include "app.h"

namespace ww {

// Switches on the shutdown privilege of the process token, which the NT family requires before it
// restarts. True when every call succeeded; callers need not look.
bool EnableShutdownPrivilege(App& app);
// Asks whether to restart now and, on Yes, asks Windows to restart; logs the outcome. note is
// added to the question as it is (where the run's files are, when not beside the program).
void PromptReboot(App& app, const std::string& note = "");
// The system's message text for a Win32 error code, trimmed of blanks (its line break stays);
// "" when the system has none.
std::string GetSystemErrorText(App& app, uint32_t code);

} // namespace ww
