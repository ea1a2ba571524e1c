#include "win32/files.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "common/win32/codepage.h"
#include "common/win32/owners.h"
#include "common/win32/system_library.h"
#include "seams/codepage.h"
#include "win32/file_paths.h"

namespace ww {
namespace {

// The longest path the NT family gives or takes, in UTF-16 units with the terminator.
constexpr DWORD kLongestPath = 32768;

// The running program's path, read whole or not at all: a cut path would name another folder.
std::string ModulePath() {
    if (const WideFileApi* wide = WideFiles()) {
        for (DWORD size = MAX_PATH + 1; size <= kLongestPath; size *= 2) {
            std::wstring path(size, L'\0');
            const DWORD n = wide->GetModuleFileName(nullptr, path.data(), size);
            if (n == 0) return {};
            // A path that fills the buffer may have been cut (and is not terminated on XP).
            if (n < size) return corvane::FromUtf16(std::wstring_view(path.data(), n));
        }
        return {};
    }
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    return FromAnsi(std::string_view(path, n));
}

HANDLE OpenFile(const std::string& path, DWORD share, DWORD disposition) {
    if (const WideFileApi* wide = WideFiles())
        return wide->CreateFile(WideFilePath(path).c_str(), GENERIC_WRITE, share, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return CreateFileA(ToAnsi(path).c_str(), GENERIC_WRITE, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool DeleteNamed(const std::string& path) {
    if (const WideFileApi* wide = WideFiles())
        return wide->DeleteFile(WideFilePath(path).c_str()) != 0;
    return DeleteFileA(ToAnsi(path).c_str()) != 0;
}

// The fixed part of a version resource, read through the W or the A functions of version.dll.
template <class Char, class InfoSizeFn, class InfoFn, class QueryFn>
uint32_t ReadVersion(const corvane::SystemLibrary& library, const char* infoSize, const char* info,
                     const char* query, const Char* path, const Char* root, FileVersion& version) {
    const auto sizeOf = library.Proc<InfoSizeFn>(infoSize);
    const auto infoOf = library.Proc<InfoFn>(info);
    const auto queryOf = library.Proc<QueryFn>(query);
    if (!sizeOf || !infoOf || !queryOf) return library.Error();
    DWORD ignored = 0;
    const DWORD size = sizeOf(path, &ignored);
    if (size == 0) return GetLastError();
    std::vector<char> data(size);
    if (!infoOf(path, 0, size, data.data())) return GetLastError();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!queryOf(data.data(), root, reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.revision = LOWORD(fixed->dwFileVersionLS);
    return 0;
}

} // namespace

std::string Win32Files::ProgramPath() {
    return ModulePath();
}

uint32_t Win32Files::ProgramVersion(FileVersion& version) {
    const std::string path = ModulePath();
    if (path.empty()) return ERROR_FILENAME_EXCED_RANGE;
    const corvane::SystemLibrary library("version.dll");
    if (WideFiles()) {
        using InfoSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
        using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
        using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
        const std::wstring wide = WideFilePath(path);
        return ReadVersion<wchar_t, InfoSizeFn, InfoFn, QueryFn>(
            library, "GetFileVersionInfoSizeW", "GetFileVersionInfoW", "VerQueryValueW",
            wide.c_str(), L"\\", version);
    }
    using InfoSizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const std::string ansi = ToAnsi(path);
    return ReadVersion<char, InfoSizeFn, InfoFn, QueryFn>(library, "GetFileVersionInfoSizeA",
                                                          "GetFileVersionInfoA", "VerQueryValueA",
                                                          ansi.c_str(), "\\", version);
}

// Plain write access and a move to the end: Windows 9x ignores the append-only right, so a file
// opened with that right alone cannot be written there. Writers are shared too: a viewer or
// support tool that holds the log open with write access would otherwise switch logging off for
// the rest of the run (FILE_SHARE_DELETE is left out: Windows 9x refuses it).
bool Win32Files::Append(const std::string& path, std::string_view bytes) {
    corvane::File file(OpenFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
    if (!file) return false;
    // The failure value is also a position (a log of 4 GiB less one byte), and opening a file
    // that exists leaves ERROR_ALREADY_EXISTS behind: only a fresh error code tells them apart.
    SetLastError(NO_ERROR);
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) != 0 &&
                    written == bytes.size();
    return file.Close() && ok;
}

bool Win32Files::WriteNew(const std::string& path, std::string_view bytes) {
    corvane::File file(OpenFile(path, 0, CREATE_NEW));
    if (!file) return false;
    DWORD written = 0;
    // On the disk before the file gets its real name: a crash leaves no half file under it.
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) != 0 &&
                    written == bytes.size() && FlushFileBuffers(file.get()) != 0;
    if (file.Close() && ok) return true;
    DeleteNamed(path);
    return false;
}

bool Win32Files::Rename(const std::string& from, const std::string& to) {
    if (const WideFileApi* wide = WideFiles())
        return wide->MoveFile(WideFilePath(from).c_str(), WideFilePath(to).c_str()) != 0;
    return MoveFileA(ToAnsi(from).c_str(), ToAnsi(to).c_str()) != 0;
}

bool Win32Files::Exists(const std::string& path) {
    if (const WideFileApi* wide = WideFiles())
        return wide->GetFileAttributes(WideFilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesA(ToAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::Delete(const std::string& path) {
    return DeleteNamed(path);
}

std::string Win32Files::TempFolder() {
    std::string folder;
    if (const WideFileApi* wide = WideFiles()) {
        wchar_t path[MAX_PATH + 1] = {};
        const DWORD n = wide->GetTempPath(MAX_PATH + 1, path);
        if (n == 0 || n > MAX_PATH) return "";
        folder = corvane::FromUtf16(std::wstring_view(path, n));
    } else {
        char path[MAX_PATH + 1] = {};
        const DWORD n = GetTempPathA(MAX_PATH + 1, path);
        if (n == 0 || n > MAX_PATH) return "";
        folder = FromAnsi(std::string_view(path, n));
    }
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

namespace {

// A SID of the NT authority with two sub-authorities, laid out as Windows lays out every SID.
struct NtSid {
    BYTE revision = 1;
    BYTE count;
    BYTE authority[6] = {0, 0, 0, 0, 0, 5};
    DWORD parts[2];
};

constexpr NtSid kSystem{1, 1, {0, 0, 0, 0, 0, 5}, {18, 0}};
constexpr NtSid kAdministrators{1, 2, {0, 0, 0, 0, 0, 5}, {32, 544}};
constexpr NtSid kUsers{1, 2, {0, 0, 0, 0, 0, 5}, {32, 545}};

struct Grant {
    const NtSid* sid;
    DWORD rights;
};

// Users read and list; nobody but Administrators and SYSTEM writes, renames or deletes.
constexpr Grant kGrants[] = {
    {&kAdministrators, FILE_ALL_ACCESS},
    {&kSystem, FILE_ALL_ACCESS},
    {&kUsers, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE},
};

constexpr int kCsidlCommonAppData = 0x23;

} // namespace

std::string Win32Files::CommonDataFolder() {
    // Windows 9x: no folder there is closed to anyone.
    if (!WideFiles()) return "";
    wchar_t path[MAX_PATH + 1] = {};
    bool found = false;
    // Windows 2000 on have it in shell32; NT 4 only from the shfolder library that came with
    // later Internet Explorers.
    using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    for (const char* name : {"shell32.dll", "shfolder.dll"}) {
        const corvane::SystemLibrary library(name);
        const auto folderPath = library.Proc<FolderPathFn>("SHGetFolderPathW");
        if (folderPath && folderPath(nullptr, kCsidlCommonAppData, nullptr, 0, path) == S_OK) {
            found = true;
            break;
        }
    }
    if (!found) {
        using SpecialFolderFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
        const corvane::SystemLibrary library("shell32.dll");
        const auto special = library.Proc<SpecialFolderFn>("SHGetSpecialFolderPathW");
        found = special && special(nullptr, path, kCsidlCommonAppData, FALSE);
    }
    if (!found) return "";
    path[MAX_PATH] = L'\0';
    std::string folder = corvane::FromUtf16(path);
    if (folder.empty()) return "";
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

bool Win32Files::CreateClosedFolder(const std::string& path) {
    const WideFileApi* wide = WideFiles();
    if (!wide) return false;
    const corvane::SystemLibrary advapi("advapi32.dll");
    using InitAclFn = BOOL(WINAPI*)(PACL, DWORD, DWORD);
    using AddAceFn = BOOL(WINAPI*)(PACL, DWORD, DWORD, PSID);
    using GetAceFn = BOOL(WINAPI*)(PACL, DWORD, LPVOID*);
    using InitSdFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD);
    using SetDaclFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
    using SetControlFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL,
                                       SECURITY_DESCRIPTOR_CONTROL);
    using SetOwnerFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, PSID, BOOL);
    const auto initAcl = advapi.Proc<InitAclFn>("InitializeAcl");
    const auto addAce = advapi.Proc<AddAceFn>("AddAccessAllowedAce");
    const auto getAce = advapi.Proc<GetAceFn>("GetAce");
    const auto initSd = advapi.Proc<InitSdFn>("InitializeSecurityDescriptor");
    const auto setDacl = advapi.Proc<SetDaclFn>("SetSecurityDescriptorDacl");
    // The creator would own it otherwise (an administrator's own account on XP), and the owner
    // may change its rights: the folder would then not pass the check that every run makes.
    const auto setOwner = advapi.Proc<SetOwnerFn>("SetSecurityDescriptorOwner");
    // Windows 2000 on: without it the parent's inheritable grants (users may write in the common
    // data folder) would be added to these. NT 4 inherits nothing into a given DACL.
    const auto setControl = advapi.Proc<SetControlFn>("SetSecurityDescriptorControl");
    if (!initAcl || !addAce || !getAce || !initSd || !setDacl || !setOwner) return false;

    DWORD aclBuffer[64] = {};
    const auto acl = reinterpret_cast<PACL>(aclBuffer);
    if (!initAcl(acl, sizeof aclBuffer, ACL_REVISION)) return false;
    DWORD index = 0;
    for (const Grant& grant : kGrants) {
        NtSid sid = *grant.sid;
        if (!addAce(acl, ACL_REVISION, grant.rights, &sid)) return false;
        // What is made in the folder gets the same grants.
        void* ace = nullptr;
        if (!getAce(acl, index++, &ace) || !ace) return false;
        static_cast<ACE_HEADER*>(ace)->AceFlags |= OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    }
    SECURITY_DESCRIPTOR descriptor{};
    NtSid owner = kAdministrators;
    if (!initSd(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !setDacl(&descriptor, TRUE, acl, FALSE) || !setOwner(&descriptor, &owner, FALSE))
        return false;
    if (setControl && !setControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    return wide->CreateDirectory(WideFilePath(path).c_str(), &attributes) != 0;
}

uint32_t Win32Files::Attributes(const std::string& path) {
    if (const WideFileApi* wide = WideFiles())
        return wide->GetFileAttributes(WideFilePath(path).c_str());
    return GetFileAttributesA(ToAnsi(path).c_str());
}

bool Win32Files::ReadSecurity(const std::string& path, std::string* descriptor) {
    // Windows 9x keeps no rights on its files.
    if (!WideFiles()) return false;
    const corvane::SystemLibrary advapi("advapi32.dll");
    using GetSecurityFn =
        BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
    const auto getSecurity = advapi.Proc<GetSecurityFn>("GetFileSecurityW");
    if (!getSecurity) return false;
    const std::wstring wide = WideFilePath(path);
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    // Sized by a first call; rights changed in between may need one more.
    DWORD needed = 0;
    getSecurity(wide.c_str(), wanted, nullptr, 0, &needed);
    for (int attempt = 0; attempt < 3 && needed > 0 && needed <= 0x10000; ++attempt) {
        std::string bytes(needed, '\0');
        if (getSecurity(wide.c_str(), wanted, bytes.data(), static_cast<DWORD>(bytes.size()),
                        &needed)) {
            *descriptor = std::move(bytes);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    }
    return false;
}

} // namespace ww
