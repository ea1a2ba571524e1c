#include "common/text.h"

#include <cstring>

namespace corvane {

void AppendHexByte(std::string& out, unsigned char byte, std::string_view digits) {
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

std::string_view Trim(std::string_view text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string_view UpToNul(const char* buffer, size_t size) {
    if (size == 0) return {};
    const void* nul = std::memchr(buffer, '\0', size);
    return {buffer, nul ? static_cast<size_t>(static_cast<const char*>(nul) - buffer) : size};
}

} // namespace corvane
