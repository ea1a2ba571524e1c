#pragma once
#include <string_view>

#include "app.h"

namespace ww {

// Appends text and CR LF to app.LogPath. Never fails towards the caller: the first failure
// switches logging off for the rest of the run.
void WriteLog(App& app, std::string_view text);

} // namespace ww
