#include "platform/data_folder.h"

#include "platform/folder_rights.h"
#include "seams/files.h"
#include "seams/system.h"

namespace ww {
namespace {

constexpr uint32_t kPlatformNt = 2;

// The parts below the common application data folder, each made and checked in turn.
constexpr const char* kParts[] = {"Corvane", "Corvane\\Wirewise"};

bool PlainFolder(uint32_t bits) {
    return bits != kNoSuchFile && (bits & kAttributeDirectory) != 0 &&
           (bits & kAttributeReparsePoint) == 0;
}

// Looked at also right after it was made: a system that put inherited grants into the new
// folder instead of the given ones has made it open all the same.
bool OnlyAdministratorsWrite(Files& files, const std::string& path) {
    std::string descriptor;
    return files.ReadSecurity(path, &descriptor) && ClosedToUsers(descriptor);
}

std::string ClosedFolder(App& app) {
    Files& files = *app.files;
    std::string base = files.CommonDataFolder();
    if (base.size() < 2 || base.back() != '\\') return "";
    if (!PlainFolder(files.Attributes(base.substr(0, base.size() - 1)))) return "";
    for (const char* part : kParts) {
        const std::string path = base + part;
        // Made by someone else between the look and the make: judged as found.
        if (files.Attributes(path) == kNoSuchFile) files.CreateClosedFolder(path);
        if (!PlainFolder(files.Attributes(path))) return "";
        // One the user made, or opened up, could hold a planted file or be swapped for a link.
        if (!OnlyAdministratorsWrite(files, path)) return "";
    }
    return base + kParts[std::size(kParts) - 1] + "\\";
}

} // namespace

bool NtFamily(App& app) {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    if (app.sys->RtlGetVersion(&info)) return info.dwPlatformId == kPlatformNt;
    info = OsVersionInfo{};
    info.dwOSVersionInfoSize = 148;
    return app.sys->GetVersionExA(&info) && info.dwPlatformId == kPlatformNt;
}

std::string DataFolder(App& app) {
    if (!app.dataFolderChosen) {
        // The user's temporary folder never, on NT: the program runs elevated there.
        app.DataFolderPath = NtFamily(app) ? ClosedFolder(app) : app.files->TempFolder();
        app.dataFolderChosen = true;
    }
    return app.DataFolderPath;
}

bool PlainFileOrNone(App& app, const std::string& path) {
    const uint32_t bits = app.files->Attributes(path);
    return bits == kNoSuchFile || (bits & (kAttributeDirectory | kAttributeReparsePoint)) == 0;
}

} // namespace ww
