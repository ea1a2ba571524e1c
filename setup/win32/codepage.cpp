#include "seams/codepage.h"

#include <windows.h>

namespace ww {
namespace {

// Into the ANSI code page a character it cannot show becomes the code page's default character,
// never a look-alike letter. Windows before 2000 knows no such flag and refuses it; there the
// system's own mapping is all there is.
int ToMultiByte(UINT to, const std::wstring& wide, char* out, int outLen) {
    const int len = static_cast<int>(wide.size());
    if (to != CP_UTF8) {
        const int n = WideCharToMultiByte(to, WC_NO_BEST_FIT_CHARS, wide.data(), len, out, outLen,
                                          nullptr, nullptr);
        if (n != 0 || GetLastError() != ERROR_INVALID_FLAGS) return n;
    }
    return WideCharToMultiByte(to, 0, wide.data(), len, out, outLen, nullptr, nullptr);
}

std::string Convert(std::string_view in, UINT from, UINT to) {
    if (in.empty()) return {};
    const int wideLen =
        MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLen), L'\0');
    MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), wide.data(), wideLen);
    const int outLen = ToMultiByte(to, wide, nullptr, 0);
    std::string out(static_cast<size_t>(outLen), '\0');
    ToMultiByte(to, wide, out.data(), outLen);
    return out;
}

} // namespace

std::string ToAnsi(std::string_view text) {
    return Convert(text, CP_UTF8, CP_ACP);
}
std::string FromAnsi(std::string_view ansi) {
    return Convert(ansi, CP_ACP, CP_UTF8);
}

} // namespace ww
