#pragma once
// Whose desktop the program shows. On 2000 and XP (Run as...) and on Vista and later (a standard
// user who elevates with an administrator's password) the program runs as another account than
// the one that sees its window, and the Internet settings to change are that user's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app.h"

namespace ww {

struct DesktopUser {
    std::string account; // DOMAIN\name
    std::string sid;     // S-1-5-21-...
};

// The owner of the shell window's process, from its token; nothing where there is no shell
// window or any call fails.
std::optional<DesktopUser> FindDesktopUser(App& app);

// The SID string of a binary SID of size bytes; nothing when it does not lie wholly inside them.
std::optional<std::string> SidString(const uint8_t* sid, size_t size);

// On the NT road, after UserSid is known: where the desktop belongs to another account, its SID
// becomes the hive the run reads and writes the user's settings in, and the log says
// "Desktop user = DOMAIN\name SID". Otherwise nothing changes.
void NoteDesktopUser(App& app);

} // namespace ww
