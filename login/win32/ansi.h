#pragma once
// Program text is UTF-8; the A functions take the ANSI code page and COM takes UTF-16. Going out
// to the ANSI code page, a character it cannot show becomes its default character ("?"), never a
// look-alike letter.
#include <string>
#include <string_view>

namespace gk::win32 {

std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view ansi);
std::wstring ToWide(std::string_view text);

} // namespace gk::win32
