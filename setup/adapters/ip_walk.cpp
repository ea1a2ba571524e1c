#include "adapters/ip_walk.h"

#include "seams/codepage.h"

namespace ww {

std::string FieldText(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size;
    return FromAnsi(std::string_view(field, length));
}

} // namespace ww
