#include "common/win32/codepage.h"

#include <windows.h>

#include "seams/codepage.h"

namespace ww {
namespace {

std::wstring Widen(std::string_view in, UINT from) {
    if (in.empty()) return {};
    const int len = static_cast<int>(in.size());
    const int wideLen = MultiByteToWideChar(from, 0, in.data(), len, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLen), L'\0');
    MultiByteToWideChar(from, 0, in.data(), len, wide.data(), wideLen);
    return wide;
}

// Into the ANSI code page a character it cannot show becomes the code page's default character,
// never a look-alike letter. Windows before 2000 knows no such flag; an older system may refuse
// it with any error code, so whenever the flagged call converts nothing the system's own mapping
// is taken instead: an empty conversion would blank the text.
int ToMultiByte(UINT to, std::wstring_view wide, char* out, int outLen) {
    const int len = static_cast<int>(wide.size());
    if (to != CP_UTF8) {
        const int n = WideCharToMultiByte(to, WC_NO_BEST_FIT_CHARS, wide.data(), len, out, outLen,
                                          nullptr, nullptr);
        if (n != 0) return n;
    }
    return WideCharToMultiByte(to, 0, wide.data(), len, out, outLen, nullptr, nullptr);
}

std::string Narrow(std::wstring_view wide, UINT to) {
    if (wide.empty()) return {};
    const int outLen = ToMultiByte(to, wide, nullptr, 0);
    std::string out(static_cast<size_t>(outLen), '\0');
    ToMultiByte(to, wide, out.data(), outLen);
    return out;
}

} // namespace

std::string ToAnsi(std::string_view text) {
    return Narrow(Widen(text, CP_UTF8), CP_ACP);
}
std::string FromAnsi(std::string_view ansi) {
    return Narrow(Widen(ansi, CP_ACP), CP_UTF8);
}
LeadBytes AnsiLeadBytes() {
    LeadBytes bytes;
    // Every lead byte of every code page lies above the ASCII range.
    const UINT codePage = GetACP();
    for (unsigned b = 0x80; b < 0x100; ++b)
        bytes.lead[b] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != 0;
    return bytes;
}
std::wstring ToUtf16(std::string_view utf8) {
    return Widen(utf8, CP_UTF8);
}
std::string FromUtf16(std::wstring_view utf16) {
    return Narrow(utf16, CP_UTF8);
}

} // namespace ww
