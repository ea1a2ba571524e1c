#pragma once
// The restore file: every value a setup run may change, as the registry holds it before the
// run, in the REGEDIT4 form that regedit imports by double-click on every Windows from 98 on.
#include <cstdint>
#include <string>
#include <vector>

#include "app.h"
#include "engine/settings_pass.h"
#include "seams/codepage.h"
#include "seams/registry.h"

namespace ww {

// One value with its exact type and stored bytes; key path and name in ANSI.
struct SavedValue {
    HKey root;
    std::string keyPath;
    std::string valueName;
    uint32_t type;
    std::string data;
};

// The REGEDIT4 text of the values (CR LF lines, the ANSI code page), each under its key in the
// order the keys first appear. False when a key path or value name holds a NUL, CR or LF, which
// no REGEDIT4 line can carry, or ends in the first byte of a two-byte character, or the root is
// none that regedit names.
bool Regedit4Text(const std::vector<SavedValue>& values, std::string* text);
// The same for a code page with these lead bytes: backslashes and quotes are escaped only where
// they stand as characters of their own, never as the second byte of a two-byte character.
bool Regedit4Text(const std::vector<SavedValue>& values, const LeadBytes& lead, std::string* text);

// The values that exist at these places, with their type and every byte, whatever their size.
std::vector<SavedValue> ReadValues(App& app, const std::vector<RegLocation>& places);

struct Backup {
    bool goOn = true; // false: the user would not have the settings changed without a copy
    std::string path; // full path of the restore file, "" when none was written
};

// Writes the restore file of a setup run whole, under a name no earlier one has
// ("Setup-backup.reg", then "Setup-backup-2.reg", ...), beside the program (programFolder ends
// in "\") or else in the data folder (DataFolder), and logs "Backup = " + its path. No file
// found under a name it would use is ever replaced or deleted. Where it can
// be written in neither, asks whether to go on without one. A run that can change nothing (no
// road, no adapter chosen) gets no file and goes on.
Backup BackUpSettings(App& app, const std::string& programFolder);

} // namespace ww
