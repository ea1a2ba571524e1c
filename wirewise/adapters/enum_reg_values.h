#pragma once
#include <string>

#include "app.h"
#include "seams/registry.h"

namespace ww {

// The first value name of root\keyPath, in enumeration order, that contains match ignoring
// case; "" when there is none, the key can't be opened or a value doesn't fit the buffers.
std::string EnumRegValues(App& app, HKey root, const std::string& keyPath,
                          const std::string& match);

} // namespace ww
