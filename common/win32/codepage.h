#pragma once
// Program text is UTF-8; the A functions take the ANSI code page and COM and the W functions take
// UTF-16. Going out to the ANSI code page, a character it cannot show becomes its default
// character ("?"), never a look-alike letter.
#include <windows.h>

#include <string>
#include <string_view>

namespace corvane {

// WideCharToMultiByte's shape: a check hands in one that behaves as an older Windows does.
using WideToMultiByte = decltype(&::WideCharToMultiByte);

std::string ToAnsi(std::string_view text, WideToMultiByte convert = &::WideCharToMultiByte);
std::string FromAnsi(std::string_view ansi);
std::wstring ToUtf16(std::string_view utf8);
std::string FromUtf16(std::wstring_view utf16);

} // namespace corvane
