#include "win32/file_paths.h"

#include "common/win32/codepage.h"
#include "common/win32/system_library.h"

namespace ww {
namespace {

WideFileApi Bind() {
    WideFileApi api;
    // Windows 9x: the A functions, whatever the W ones would do there.
    if ((GetVersion() & 0x80000000u) != 0) return api;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    api.CreateFile = corvane::ProcAddress<decltype(api.CreateFile)>(kernel, "CreateFileW");
    api.DeleteFile = corvane::ProcAddress<decltype(api.DeleteFile)>(kernel, "DeleteFileW");
    api.MoveFile = corvane::ProcAddress<decltype(api.MoveFile)>(kernel, "MoveFileW");
    api.GetFileAttributes =
        corvane::ProcAddress<decltype(api.GetFileAttributes)>(kernel, "GetFileAttributesW");
    api.GetModuleFileName =
        corvane::ProcAddress<decltype(api.GetModuleFileName)>(kernel, "GetModuleFileNameW");
    api.GetTempPath = corvane::ProcAddress<decltype(api.GetTempPath)>(kernel, "GetTempPathW");
    api.LoadLibraryEx = corvane::ProcAddress<decltype(api.LoadLibraryEx)>(kernel, "LoadLibraryExW");
    api.CreateDirectory =
        corvane::ProcAddress<decltype(api.CreateDirectory)>(kernel, "CreateDirectoryW");
    return api;
}

} // namespace

const WideFileApi* WideFiles() {
    static const WideFileApi api = Bind();
    const bool all = api.CreateFile && api.DeleteFile && api.MoveFile && api.GetFileAttributes &&
                     api.GetModuleFileName && api.GetTempPath && api.LoadLibraryEx &&
                     api.CreateDirectory;
    return all ? &api : nullptr;
}

std::wstring WideFilePath(const std::string& path) {
    std::wstring wide = corvane::ToUtf16(path);
    if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

std::wstring WideLibraryPath(const std::string& path) {
    std::wstring wide = corvane::ToUtf16(path);
    if (wide.size() >= MAX_PATH) return {};
    return wide;
}

} // namespace ww
