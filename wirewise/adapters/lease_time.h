#pragma once
#include <cstdint>
#include <string>

#include "app.h"

namespace ww {

// 1 January 1970 00:00:00 plus seconds, taken as it stands (no time zone), written as
// "dddd, mmm d hh:mm:ss yyyy" with the user's day and month names and time separator.
std::string LeaseTimeText(App& app, int64_t seconds);

} // namespace ww
