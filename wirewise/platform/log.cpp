#include "platform/log.h"

#include "platform/data_folder.h"
#include "seams/codepage.h"
#include "seams/files.h"

namespace ww {

void WriteLog(App& app, std::string_view text) {
    if (app.logFailed) return;
    std::string line = ToAnsi(text);
    line += "\r\n";
    // An empty path cannot be opened; the file seam is not asked.
    if (!app.LogPath.empty() && app.files->Append(app.LogPath, line)) {
        app.logWritten = true;
        return;
    }
    // The program's folder took no line at all (a CD): the log goes where the restore file goes.
    // A log that stops half way stays where it began, so that it is found whole.
    if (!app.logWritten) {
        app.logWritten = true;
        const std::string folder = DataFolder(app);
        const std::string path = folder + "Setup.log";
        if (!folder.empty() && path != app.LogPath && PlainFileOrNone(app, path)) {
            app.LogPath = path;
            if (app.files->Append(path, line)) return;
        }
    }
    app.logFailed = true;
}

std::string LogFolder(const App& app) {
    if (app.logFailed || !app.logWritten) return "";
    const size_t slash = app.LogPath.rfind('\\');
    if (slash == std::string::npos || slash == 0) return "";
    return app.LogPath.substr(0, slash);
}

std::string LogFolderElsewhere(const App& app, const std::string& programFolder) {
    std::string folder = LogFolder(app);
    if (!programFolder.empty() && folder + '\\' == programFolder) return "";
    return folder;
}

} // namespace ww
