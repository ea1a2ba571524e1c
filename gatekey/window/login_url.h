#pragma once
// The router's start-page address and the credentials header sent with it.
#include <string>
#include <string_view>

namespace gk {

// RFC 3986 user-info encoding: everything but unreserved characters and sub-delimiters becomes
// %XX, so "@", ":" or "/" in a name or password cannot move the request to another host.
std::string EncodeUserInfo(std::string_view text);
std::string Base64(std::string_view bytes);

// "http://" + user + ":" + password + "@" + host + ":" + port + "/doc/index.htm"; user and
// password encoded, host and port as typed.
std::string BuildLoginUrl(std::string_view host, std::string_view port, std::string_view user,
                          std::string_view password);

// "http://" + host + ":" + port + "/doc/index.htm": the start page without the credentials.
std::string StartPageAddress(std::string_view host, std::string_view port);

// Browsers that refuse user-info URLs still log in through this request header.
std::string BasicAuthHeader(std::string_view user, std::string_view password);

} // namespace gk
