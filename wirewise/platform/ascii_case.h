#pragma once
// Texts compared without regard to case the way the registry's names and the system's own
// comparisons of them need it here: only the letters a to z fold. Every other byte (a code
// page's accented letter, a byte of a UTF-8 sequence) stays as it is, whatever the C library's
// locale.
#include <algorithm>
#include <string>
#include <string_view>

namespace ww {

constexpr char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string UpperAscii(std::string text) {
    for (char& c : text)
        c = FoldAscii(c);
    return text;
}

inline bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

// True when part lies in text; an empty part lies in every text.
inline bool ContainsAsciiNoCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char x, char y) { return FoldAscii(x) == FoldAscii(y); }) != text.end() ||
           part.empty();
}

} // namespace ww
