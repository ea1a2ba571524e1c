#include "platform/log.h"

#include "seams/codepage.h"
#include "seams/files.h"

namespace ww {

void WriteLog(App& app, std::string_view text) {
    if (app.logFailed) return;
    std::string line = ToAnsi(text);
    line += "\r\n";
    // An empty path cannot be opened; the file seam is not asked.
    if (app.LogPath.empty() || !app.files->Append(app.LogPath, line)) app.logFailed = true;
}

} // namespace ww
