#pragma once
// Program text is UTF-8; the platform's A functions and Setup.log use the ANSI code page.
// Characters the code page lacks become its default character.
#include <string>
#include <string_view>

namespace ww {

std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view ansi);

} // namespace ww
