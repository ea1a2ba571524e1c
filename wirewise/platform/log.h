#pragma once
#include <string>
#include <string_view>

#include "app.h"

namespace ww {

// Appends text and CR LF to app.LogPath. Never fails towards the caller: the first failure
// switches logging off for the rest of the run.
void WriteLog(App& app, std::string_view text);

// The folder of the file that holds this run's lines, without its trailing "\\"; "" when no line
// reached a file.
std::string LogFolder(const App& app);

// The folder of the file that holds this run's lines, without its trailing "\\", where that is
// not programFolder (which ends in "\\"): the data folder of a run from a CD. "" when the log is
// beside the program or nowhere.
std::string LogFolderElsewhere(const App& app, const std::string& programFolder);

} // namespace ww
