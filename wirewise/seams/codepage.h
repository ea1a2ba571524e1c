#pragma once
// Program text is UTF-8; the platform's A functions and Setup.log use the ANSI code page.
// Characters the code page lacks become its default character.
#include <array>
#include <string>
#include <string_view>

namespace ww {

std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view ansi);

// The bytes of a code page that begin a two-byte character (none in a single-byte code page).
// Their second byte may be any of 0x40 to 0xFE in some code pages, a backslash among them, and
// must then never be read as a character of its own.
struct LeadBytes {
    std::array<bool, 256> lead{};
    bool operator()(char byte) const { return lead[static_cast<unsigned char>(byte)]; }
    // The length of the character at text[at]: 2 for a lead byte with a byte after it, else 1.
    size_t CharLength(std::string_view text, size_t at) const {
        return (*this)(text[at]) && at + 1 < text.size() ? 2 : 1;
    }
};

// The lead bytes of the system's ANSI code page.
LeadBytes AnsiLeadBytes();

} // namespace ww
