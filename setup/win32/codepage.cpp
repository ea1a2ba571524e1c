#include "seams/codepage.h"

#include <windows.h>

namespace ww {
namespace {

std::string Convert(std::string_view in, UINT from, UINT to) {
    if (in.empty()) return {};
    const int wideLen =
        MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLen), L'\0');
    MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), wide.data(), wideLen);
    const int outLen =
        WideCharToMultiByte(to, 0, wide.data(), wideLen, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(outLen), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLen, out.data(), outLen, nullptr, nullptr);
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
