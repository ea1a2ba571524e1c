#include "window/settings_file.h"

namespace gk {

std::string SettingsPathIn(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + "Settings.ini";
}

std::string ReadInternetHost(Files& files, const std::string& path) {
    if (!files.Exists(path)) return kDefaultInternetHost;
    std::string text;
    switch (files.ReadWhole(path, kSettingsLimit, text)) {
    case ReadStatus::Ok:
        return text;
    case ReadStatus::TooLarge:
        return {};
    case ReadStatus::Failed:
        break;
    }
    return kDefaultInternetHost;
}

} // namespace gk
