#pragma once
// Small text steps both programs take on bytes from the system: hex digits, blanks at the ends, and
// texts in fixed-size buffers that end at a NUL (or at the buffer's end when the system filled it).
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kHexUpper = "0123456789ABCDEF";
inline constexpr std::string_view kHexLower = "0123456789abcdef";

// Appends both hex digits of the byte, the high one first, from digits (kHexUpper or kHexLower).
void AppendHexByte(std::string& out, unsigned char byte, std::string_view digits);

// Spaces only; the blanks of a line of text add tabs and line ends.
inline constexpr std::string_view kSpaces = " ";
inline constexpr std::string_view kLineBlanks = " \t\r\n";

// The text without the blanks at either end; empty when it holds nothing else.
std::string_view Trim(std::string_view text, std::string_view blanks = kSpaces);

// The text in a buffer up to its first NUL, never past the buffer's end.
std::string_view UpToNul(const char* buffer, size_t size);
inline std::string_view UpToNul(std::string_view text) {
    return UpToNul(text.data(), text.size());
}

} // namespace corvane
