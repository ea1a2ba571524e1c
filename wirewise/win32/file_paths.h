#pragma once
// Paths are program text (UTF-8) up to the file functions. The NT family takes them whole, as
// UTF-16, in its W functions; Windows 9x has only the A functions, and its paths are in the ANSI
// code page by definition, so nothing is lost there.
#include <windows.h>

#include <string>

namespace ww {

// The W file functions of kernel32, looked up at run time: Windows 9x exports some of them only
// as stubs that fail, and not every one of them for certain. All null there.
struct WideFileApi {
    decltype(&CreateFileW) CreateFile = nullptr;
    decltype(&DeleteFileW) DeleteFile = nullptr;
    decltype(&MoveFileW) MoveFile = nullptr;
    decltype(&GetFileAttributesW) GetFileAttributes = nullptr;
    decltype(&GetModuleFileNameW) GetModuleFileName = nullptr;
    decltype(&GetTempPathW) GetTempPath = nullptr;
    decltype(&LoadLibraryExW) LoadLibraryEx = nullptr;
    decltype(&CreateDirectoryW) CreateDirectory = nullptr;
};

// The W functions on the NT family, where every one of them is bound; null on Windows 9x.
const WideFileApi* WideFiles();

// The path for a W file function. A full path of MAX_PATH characters or more gets the "\\?\"
// form, which the file functions take up to 32767 characters; a shorter one stays as it is.
std::wstring WideFilePath(const std::string& path);

// The path for LoadLibraryExW, which takes no "\\?\" form; "" when it is too long to load from.
std::wstring WideLibraryPath(const std::string& path);

} // namespace ww
