#pragma once
// Program text (UTF-8) for the W functions and COM, which take UTF-16; the ANSI side is in
// seams/codepage.h. All of the program's conversions live in codepage.cpp.
#include <string>
#include <string_view>

namespace ww {

std::wstring ToUtf16(std::string_view utf8);
std::string FromUtf16(std::wstring_view utf16);

} // namespace ww
