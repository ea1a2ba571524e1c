#pragma once
// The program's own file, the log it appends to and the restore files it writes whole.
#include <cstdint>
#include <string>
#include <string_view>

namespace ww {

// The major, minor and revision numbers of a program file's version resource.
struct FileVersion {
    int major = 0, minor = 0, revision = 0;
};

class Files {
  public:
    virtual ~Files() = default;
    // Paths are program text, whatever characters they hold; the seam gives them to Windows as
    // the running system takes them.
    // Full path of the running program file, e.g. "C:\Tools\wirewise.exe"; "" when it cannot be
    // had whole (never a path cut short).
    virtual std::string ProgramPath() = 0;
    // Reads the running program file's own version resource: 0, or the Win32 error code.
    virtual uint32_t ProgramVersion(FileVersion& version) = 0;
    // Opens path for appending (creating it), writes bytes, closes it; false when any step fails.
    virtual bool Append(const std::string& path, std::string_view bytes) = 0;

    // Creates path, which must not exist yet (CREATE_NEW), writes bytes, flushes and closes it;
    // false when any step fails, and then no file of that name is left behind.
    virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
    // MoveFile: false when to exists already or the move fails.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // GetFileAttributes: a file or folder of that name exists.
    virtual bool Exists(const std::string& path) = 0;
    // DeleteFile
    virtual bool Delete(const std::string& path) = 0;
    // GetTempPath: the user's temporary folder, ending in "\"; "" when the call fails.
    virtual std::string TempFolder() = 0;

    // The per-machine application data folder (CSIDL_COMMON_APPDATA), ending in "\"; "" on
    // Windows 9x, where no folder of that kind is closed to users, and where no function of the
    // running system gives it.
    virtual std::string CommonDataFolder() = 0;
    // CreateDirectory owned by Administrators with a protected DACL: every right for
    // Administrators and SYSTEM, read and list for Users, inherited by what is made in it. False
    // when any step fails or path exists.
    virtual bool CreateClosedFolder(const std::string& path) = 0;
    // GetFileAttributes: the attribute bits, kNoSuchFile when nothing has that name.
    virtual uint32_t Attributes(const std::string& path) = 0;
    // GetFileSecurity of path's owner and DACL: the self-relative security descriptor byte for
    // byte; false when it cannot be had (Windows 9x, no such file, no right to read it).
    virtual bool ReadSecurity(const std::string& path, std::string* descriptor) = 0;
};

inline constexpr uint32_t kNoSuchFile = 0xFFFFFFFFu;
inline constexpr uint32_t kAttributeDirectory = 0x10u;
inline constexpr uint32_t kAttributeReparsePoint = 0x400u;

} // namespace ww
