#pragma once
// Libraries that are not on every Windows' known-library list (icmp, atl) are loaded by their
// full path in the system folder: by name the loader would look in the program's folder first,
// and a file of that name lying there would run inside the program.
#include "win32/handles.h"

namespace gk::win32 {

// Loads a file of the system folder, whose own imports are looked for there first as well; empty
// when it is not there.
Module LoadSystemLibrary(const char* fileName);

} // namespace gk::win32
