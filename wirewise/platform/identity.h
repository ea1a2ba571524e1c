#pragma once
// Who runs the program: user name, computer name, the user's SID string.
#include <cstdint>
#include <string>

#include "app.h"

namespace ww {

// The logged-on user's name without domain; "" when it cannot be had (also for 25 characters or
// more).
std::string GetLoggedUser(App& app);
// The computer's NetBIOS name; "" when the call fails.
std::string GetMachineName(App& app);
// The SID string of app.UserName, such as "S-1-5-21-...", so it runs after start-up has set
// UserName; an account that cannot be found gives "S-0-0".
std::string GetUserSid(App& app);
// The SID string of account, looked up on the domain controller of the domain named machine when
// one answers, else on the local system.
std::string LookupSidString(App& app, const std::string& machine, const std::string& account);

// A SID's 48-bit identifier authority (its six bytes, the high one first), as SID strings write
// it: decimal below 2^32, else "0x" and twelve hexadecimal digits.
std::string SidAuthorityText(const uint8_t* bytes);
// The primary domain controller of domain as asked on server ("" the local computer), with its
// two leading backslashes; "" when none answers.
std::string GetDomainController(App& app, const std::string& server, const std::string& domain);

} // namespace ww
