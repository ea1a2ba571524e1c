#include "window/login_url.h"

#include "common/text.h"
#include <cstdint>

namespace gk {
namespace {

constexpr std::string_view kStartPage = "/doc/index.htm";

bool KeptInUserInfo(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    constexpr std::string_view kept = "-._~!$&'()*+,;=";
    return kept.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string EncodeUserInfo(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (KeptInUserInfo(c)) {
            out += ch;
        } else {
            out += '%';
            corvane::AppendHexByte(out, c, corvane::kHexUpper);
        }
    }
    return out;
}

std::string Base64(std::string_view bytes) {
    constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t n = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                           static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[n >> 18 & 63];
        out += alphabet[n >> 12 & 63];
        out += alphabet[n >> 6 & 63];
        out += alphabet[n & 63];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t n = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2) n |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += alphabet[n >> 18 & 63];
        out += alphabet[n >> 12 & 63];
        out += rest == 2 ? alphabet[n >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

namespace {

// "http://" + userInfo + host + ":" + port + the start page; userInfo is empty or ends in "@".
std::string StartPageUrl(std::string_view userInfo, std::string_view host, std::string_view port) {
    std::string url = "http://";
    url += userInfo;
    url += host;
    url += ':';
    url += port;
    url += kStartPage;
    return url;
}

} // namespace

std::string BuildLoginUrl(std::string_view host, std::string_view port, std::string_view user,
                          std::string_view password) {
    return StartPageUrl(EncodeUserInfo(user) + ':' + EncodeUserInfo(password) + '@', host, port);
}

std::string StartPageAddress(std::string_view host, std::string_view port) {
    return StartPageUrl({}, host, port);
}

std::string BasicAuthHeader(std::string_view user, std::string_view password) {
    std::string credentials(user);
    credentials += ':';
    credentials += password;
    return "Authorization: Basic " + Base64(credentials) + "\r\n";
}

} // namespace gk
