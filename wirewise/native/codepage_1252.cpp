// The native build has no ANSI code page of its own: it stands in Windows-1252, default "?".
#include <array>
#include <cstdint>

#include "seams/codepage.h"

namespace ww {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t ByteToCode(uint8_t b) {
    if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80] ? kHigh[b - 0x80] : b;
    return b;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string FromAnsi(std::string_view ansi) {
    std::string out;
    for (char ch : ansi)
        AppendUtf8(out, ByteToCode(static_cast<uint8_t>(ch)));
    return out;
}

std::string ToAnsi(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<uint8_t>(text[i]);
        const int len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t c = len == 1 ? b : b & (0x3F >> (len - 1));
        for (int k = 1; k < len && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        i += len;
        char outByte = '?';
        // The five bytes 1252 leaves unassigned stand for themselves both ways, as on Windows.
        const bool unassigned = c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] == 0;
        if (c < 0x80 || (c >= 0xA0 && c < 0x100) || unassigned) {
            outByte = static_cast<char>(c);
        } else {
            for (size_t k = 0; k < kHigh.size(); ++k)
                if (kHigh[k] == c) outByte = static_cast<char>(0x80 + k);
        }
        out += outByte;
    }
    return out;
}

// Windows-1252 has no two-byte characters.
LeadBytes AnsiLeadBytes() {
    return {};
}

} // namespace ww
