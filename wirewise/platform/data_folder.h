#pragma once
// Where Setup.log and the restore file go when the program's folder cannot take them (a CD, a
// read-only share).
#include <string>

#include "app.h"

namespace ww {

// On the NT family "<common application data>\Corvane\Wirewise\", made where missing so that
// only Administrators and SYSTEM may write in it: the program runs elevated there, and a folder
// that the user's own programs control would turn its writes against the user. Any folder on the
// way that is a reparse point, or no folder at all, is refused, and so is one (found or just
// made) whose owner or rights let anyone but Administrators, SYSTEM and TrustedInstaller write
// in it. On Windows 9x, which has no
// such folder, the Windows temporary folder. "" when there is none; chosen once a run.
std::string DataFolder(App& app);

// The running Windows is of the NT family, whatever a compatibility setting makes the version
// call say.
bool NtFamily(App& app);

// A file of that name may be opened for writing in the data folder: none is there yet, or a
// plain file; never a folder or a reparse point.
bool PlainFileOrNone(App& app, const std::string& path);

} // namespace ww
