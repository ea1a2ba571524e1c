#include "common/win32/codepage.h"

namespace corvane {
namespace {

std::wstring Widen(std::string_view in, UINT codePage) {
    if (in.empty()) return {};
    const int size = static_cast<int>(in.size());
    const int len = MultiByteToWideChar(codePage, 0, in.data(), size, nullptr, 0);
    if (len <= 0) return {};
    std::wstring wide(static_cast<size_t>(len), L'\0');
    MultiByteToWideChar(codePage, 0, in.data(), size, wide.data(), len);
    return wide;
}

// Windows before 2000 knows no flag against look-alike letters and refuses it, with an error
// code that differs between systems (and some code pages refuse it everywhere): whatever the
// reason a flagged call converts nothing, the system's own mapping is all there is, as an empty
// conversion would blank the text. UTF-8 takes no such flag: it shows every character.
int ToMultiByte(WideToMultiByte convert, UINT codePage, std::wstring_view wide, char* out,
                int outLen) {
    const int size = static_cast<int>(wide.size());
    if (codePage != CP_UTF8) {
        const int n = convert(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out, outLen,
                              nullptr, nullptr);
        if (n != 0) return n;
    }
    return convert(codePage, 0, wide.data(), size, out, outLen, nullptr, nullptr);
}

std::string Narrow(std::wstring_view wide, UINT codePage,
                   WideToMultiByte convert = &::WideCharToMultiByte) {
    if (wide.empty()) return {};
    const int len = ToMultiByte(convert, codePage, wide, nullptr, 0);
    if (len <= 0) return {};
    std::string out(static_cast<size_t>(len), '\0');
    const int written = ToMultiByte(convert, codePage, wide, out.data(), len);
    out.resize(static_cast<size_t>(written > 0 ? written : 0));
    return out;
}

} // namespace

std::string ToAnsi(std::string_view text, WideToMultiByte convert) {
    return Narrow(Widen(text, CP_UTF8), CP_ACP, convert);
}
std::string FromAnsi(std::string_view ansi) {
    return Narrow(Widen(ansi, CP_ACP), CP_UTF8);
}
std::wstring ToUtf16(std::string_view utf8) {
    return Widen(utf8, CP_UTF8);
}
std::string FromUtf16(std::wstring_view utf16) {
    return Narrow(utf16, CP_UTF8);
}

} // namespace corvane
