#include "win32/ansi.h"

#include <windows.h>

namespace gk::win32 {
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

std::string Narrow(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int len =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (len <= 0) return {};
    std::string out(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), len, nullptr, nullptr);
    return out;
}

} // namespace

std::string ToAnsi(std::string_view text) {
    return Narrow(Widen(text, CP_UTF8), CP_ACP);
}
std::string FromAnsi(std::string_view ansi) {
    return Narrow(Widen(ansi, CP_ACP), CP_UTF8);
}
std::wstring ToWide(std::string_view text) {
    return Widen(text, CP_UTF8);
}

} // namespace gk::win32
