#pragma once
// The restart at the end of a setup run.
#include <cstdint>
#include <string>

#include "app.h"

namespace ww {

bool EnableShutdownPrivilege(App& app);
void PromptReboot(App& app);
std::string GetSystemErrorText(App& app, uint32_t code);

} // namespace ww
