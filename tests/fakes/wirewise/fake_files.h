#pragma once
#include <map>
#include <set>
#include <string>

#include "fakes/wirewise/security_descriptor.h"
#include "seams/files.h"

namespace ww::test {

// Files in memory; paths listed in locked refuse to open, nothing can be created in a folder
// listed in readOnly (paths ending in "\\"), and folders names a folder where a file could be.
class FakeFiles final : public Files {
  public:
    std::string programPath = "C:\\Tools\\wirewise.exe";
    FileVersion version{1, 0, 10};
    uint32_t versionError = 0; // non-zero: the version resource cannot be read
    std::map<std::string, std::string> files;
    std::set<std::string> locked;
    std::set<std::string> readOnly;
    std::set<std::string> folders;
    std::string tempFolder = "C:\\Users\\alice\\Temp\\"; // "": GetTempPathA fails
    int appendCalls = 0;
    std::string commonDataFolder = "C:\\ProgramData\\"; // "": Windows 9x or no function gives it
    std::set<std::string> reparsePoints; // names (folders without "\\") that are reparse points
    std::set<std::string> closedFolders; // made by CreateClosedFolder, without "\\"
    bool createFails = false;
    // Each folder's owner and DACL (names without "\\"); a folder not listed has the rights
    // CreateClosedFolder gives, one listed with "" none that can be read.
    std::map<std::string, std::string> security;
    // What CreateClosedFolder really leaves on the folder it makes.
    std::string madeSecurity = ClosedDescriptor();

    std::string ProgramPath() override { return programPath; }
    uint32_t ProgramVersion(FileVersion& v) override {
        if (versionError == 0) v = version;
        return versionError;
    }
    bool Append(const std::string& path, std::string_view bytes) override {
        ++appendCalls;
        if (locked.count(path)) return false;
        files[path] += bytes;
        return true;
    }
    bool WriteNew(const std::string& path, std::string_view bytes) override {
        if (locked.count(path) || Exists(path) || InReadOnly(path)) return false;
        files[path] = bytes;
        return true;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        if (!files.count(from) || Exists(to) || InReadOnly(to)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Exists(const std::string& path) override {
        return files.count(path) > 0 || folders.count(path) > 0;
    }
    bool Delete(const std::string& path) override {
        return !InReadOnly(path) && files.erase(path) > 0;
    }
    std::string TempFolder() override { return tempFolder; }
    std::string CommonDataFolder() override { return commonDataFolder; }
    bool CreateClosedFolder(const std::string& path) override {
        if (createFails || Exists(path) || Exists(path + "\\") || InReadOnly(path + "\\"))
            return false;
        folders.insert(path + "\\");
        closedFolders.insert(path);
        security[path] = madeSecurity;
        return true;
    }
    uint32_t Attributes(const std::string& path) override {
        uint32_t bits = 0;
        // The common data folder is there as Windows makes it.
        if (folders.count(path + "\\") || folders.count(path) ||
            (!commonDataFolder.empty() && path + "\\" == commonDataFolder))
            bits = kAttributeDirectory;
        else if (files.count(path))
            bits = 0x20; // FILE_ATTRIBUTE_ARCHIVE
        else if (!reparsePoints.count(path))
            return kNoSuchFile;
        if (reparsePoints.count(path)) bits |= kAttributeReparsePoint;
        return bits;
    }

    bool ReadSecurity(const std::string& path, std::string* descriptor) override {
        if (Attributes(path) == kNoSuchFile) return false;
        const auto it = security.find(path);
        *descriptor = it == security.end() ? ClosedDescriptor() : it->second;
        return !descriptor->empty();
    }

  private:
    bool InReadOnly(const std::string& path) const {
        for (const std::string& folder : readOnly)
            if (path.rfind(folder, 0) == 0) return true;
        return false;
    }
};

} // namespace ww::test
