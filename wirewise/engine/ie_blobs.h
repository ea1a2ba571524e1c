#pragma once
// Internet Explorer's two connection blobs and their printable form.
#include <string>

#include "app.h"

namespace ww {

// The two blobs under the user's Connections key.
inline constexpr const char* kDefaultConnectionSettings = "DefaultConnectionSettings";
inline constexpr const char* kSavedLegacySettings = "SavedLegacySettings";

// Sets the flags byte of "DefaultConnectionSettings" and "SavedLegacySettings" under
// HKEY_USERS\keyPath to direct + auto-detect (enable) or direct only, when chkIEAuto is ticked.
// True only when both values were read and written back. A stored blob too short to hold the
// flags byte raises EngineFailure.
bool SetAutoDetect(App& app, const std::string& keyPath, bool enable);
// Each byte (of the text's ANSI form) as two lower-case hex digits and ",", then "00".
std::string BytesToHex(const std::string& text);
// text with "0" put in front up to width characters.
std::string ZeroPad(const std::string& text, size_t width);

} // namespace ww
