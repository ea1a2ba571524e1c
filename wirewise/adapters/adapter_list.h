#pragma once
#include <string>

#include "adapters/adapter_box.h"
#include "app.h"

namespace ww {

// Fills app.Adapters from IP Helper, one row of box and one log line per adapter.
void ListAdapters(App& app, AdapterBox& box);
// The text before the first separator, trimmed of spaces.
std::string StripNull(const std::string& text, const std::string& separator);

} // namespace ww
