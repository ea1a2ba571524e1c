// The restore file's writer against the tests' REGEDIT4 reader: whatever names and data the
// values hold (quotes, backslashes, NULs, high bytes, blobs of thousands of bytes, any type), the
// text either is refused (a name no REGEDIT4 line can carry) or gives every value back as it was,
// read in the code page it was written for: Windows-1252 or one of the double-byte ones, where a
// backslash may be the second byte of a character.
// Input: a byte that picks the code page, then per value a type byte, a name length byte, the
// name, a two-byte data length, the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/restore_file.h"
#include "fakes/wirewise/lead_bytes.h"
#include "fakes/wirewise/regedit4.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto& codePages = ww::test::kCodePageLeads;
    const ww::LeadBytes lead =
        ww::test::LeadBytesOf(codePages[data[0] % (sizeof codePages / sizeof codePages[0])]);
    std::vector<ww::SavedValue> values;
    size_t at = 1;
    const auto take = [&](size_t n) {
        const size_t got = n < size - at ? n : size - at;
        std::string bytes(reinterpret_cast<const char*>(data + at), got);
        at += got;
        return bytes;
    };
    while (at + 4 <= size) {
        const uint32_t type = data[at] >= 0xF0 ? 0xFFFFFF00u | data[at] : data[at] % 12;
        const size_t nameLength = data[at + 1] % 32;
        at += 2;
        ww::SavedValue v{ww::kHkeyLocalMachine, "Software\\K" + std::to_string(type % 2),
                         take(nameLength), type, ""};
        if (at + 2 > size) break;
        const size_t dataLength = (data[at] | (data[at + 1] << 8)) % 4097;
        at += 2;
        v.data = take(dataLength);
        values.push_back(std::move(v));
    }
    std::string text;
    bool writable = true;
    for (const ww::SavedValue& v : values) {
        if (v.valueName.find_first_of(std::string("\0\r\n", 3)) != std::string::npos)
            writable = false;
        // A first byte of a character that ends the name would take the closing quote.
        size_t last = 0;
        for (size_t i = 0; i < v.valueName.size(); i += lead.CharLength(v.valueName, i))
            last = i;
        if (!v.valueName.empty() && last + 1 == v.valueName.size() && lead(v.valueName[last]))
            writable = false;
    }
    if (ww::Regedit4Text(values, lead, &text) != writable) std::abort();
    if (!writable) return 0;
    const auto read = ww::test::ParseRegedit4(text, nullptr, lead);
    if (!read || read->size() != values.size()) std::abort();
    // Each key's values in their own order.
    for (const char* key : {"Software\\K0", "Software\\K1"}) {
        std::vector<const ww::SavedValue*> want;
        std::vector<const ww::test::ImportedValue*> got;
        for (const auto& v : values)
            if (v.keyPath == key) want.push_back(&v);
        for (const auto& v : *read)
            if (v.keyPath == key) got.push_back(&v);
        if (want.size() != got.size()) std::abort();
        for (size_t i = 0; i < want.size(); ++i)
            if (got[i]->name != want[i]->valueName || got[i]->type != want[i]->type ||
                got[i]->data != want[i]->data || got[i]->root != want[i]->root)
                std::abort();
    }
    return 0;
}
