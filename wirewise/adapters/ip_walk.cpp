#include "adapters/ip_walk.h"

#include "common/text.h"
#include "seams/codepage.h"

namespace ww {

std::string FieldText(const char* field, size_t size) {
    return FromAnsi(corvane::UpToNul(field, size));
}

} // namespace ww
