#pragma once
// Who runs the program: user name, computer name, the user's SID string.
#include <string>

#include "app.h"

namespace ww {

std::string GetLoggedUser(App& app);
std::string GetMachineName(App& app);
// The SID string of app.UserName, such as "S-1-5-21-...", or "" when it cannot be found.
std::string GetUserSid(App& app);
std::string GetDomainController(App& app);

} // namespace ww
