#include "platform/reg_key.h"

#include <limits>
#include <utility>

#include "common/text.h"
#include "platform/internal_error.h"
#include "seams/codepage.h"

namespace ww {
namespace {

// Signed decimal of a little-endian number of at most four bytes.
std::string DwordText(std::string_view bytes) {
    if (bytes.size() > 4) throw NumberedError(kErrOverflow, "Overflow");
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return std::to_string(static_cast<int32_t>(value));
}

std::string ValueText(const RegValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    return std::to_string(std::get<long long>(value));
}

// The value as a signed 32-bit number: a number in range, or a text holding a decimal number
// (a fraction rounds half to even) or a hexadecimal "&h" literal of up to eight digits.
int32_t ToInt32(const RegValue& value) {
    constexpr long long kMin = std::numeric_limits<int32_t>::min();
    constexpr long long kMax = std::numeric_limits<int32_t>::max();
    if (const auto* number = std::get_if<long long>(&value)) {
        if (*number < kMin || *number > kMax) throw RegConversionError{ValueText(value)};
        return static_cast<int32_t>(*number);
    }
    const std::string text(corvane::Trim(std::get<std::string>(value)));
    const RegConversionError error{std::get<std::string>(value)};
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'h' || text[1] == 'H')) {
        if (text.size() > 10) throw error;
        uint32_t hex = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            const char c = text[i];
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) throw error;
            hex = (hex << 4) | static_cast<uint32_t>(digit);
        }
        return static_cast<int32_t>(hex);
    }
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
    long long whole = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > kMax + 1) throw error;
    }
    bool roundUp = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        const size_t fracStart = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            ++digits;
        const std::string frac = text.substr(fracStart, i - fracStart);
        if (!frac.empty()) {
            const bool overHalf =
                frac[0] > '5' ||
                (frac[0] == '5' && frac.find_first_not_of('0', 1) != std::string::npos);
            const bool exactHalf = frac[0] == '5' && !overHalf;
            roundUp = overHalf || (exactHalf && whole % 2 == 1);
        }
    }
    if (digits == 0 || i != text.size()) throw error;
    if (roundUp) ++whole;
    const long long signedValue = negative ? -whole : whole;
    if (signedValue < kMin || signedValue > kMax) throw error;
    return static_cast<int32_t>(signedValue);
}

bool IsMultiSz(Registry& reg, HKey key, const std::string& valueName) {
    uint32_t type = 0;
    uint32_t size = 0;
    return reg.QueryValueEx(key, valueName, &type, nullptr, &size) == kErrorSuccess &&
           type == kRegMultiSz;
}

// The bytes to store and the type to store them as; false for a type that is not written.
bool Encode(Registry& reg, HKey key, uint32_t type, const std::string& valueName,
            const RegValue& value, uint32_t* storedType, std::string* data) {
    switch (type) {
    case kRegSz:
    case kRegMultiSz:
        *data = ToAnsi(ValueText(value));
        if (type == kRegMultiSz && IsMultiSz(reg, key, valueName)) {
            // A one-string list: the text, its NUL and the closing NUL; a text read back from a
            // list already ends in a NUL, and an empty text is the empty list.
            if (!data->empty() && data->back() != '\0') *data += '\0';
            *data += '\0';
            *storedType = kRegMultiSz;
            return true;
        }
        *data += '\0';
        *storedType = kRegSz;
        return true;
    case kRegBinary:
        *data = ToAnsi(ValueText(value));
        *storedType = kRegBinary;
        return true;
    case kRegDword: {
        const auto number = static_cast<uint32_t>(ToInt32(value));
        data->assign(4, '\0');
        for (int i = 0; i < 4; ++i)
            (*data)[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        *storedType = kRegDword;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

long RegKey::QueryValue(const std::string& valueName, uint32_t* type, std::string* data,
                        uint32_t limit) const {
    data->clear();
    uint32_t size = limit;
    if (limit == kWhole) {
        const long status = reg_.QueryValueEx(key_, valueName, type, nullptr, &size);
        if (status != kErrorSuccess) return status;
    }
    constexpr int kMostReads = 8;
    for (int read = 0; read < kMostReads; ++read) {
        // Unlimited, one byte more than asked for: a value that grew by a little still fits.
        std::string buffer(static_cast<size_t>(size) + (limit == kWhole ? 1 : 0), '\0');
        uint32_t got = static_cast<uint32_t>(buffer.size());
        const long status = reg_.QueryValueEx(key_, valueName, type,
                                              reinterpret_cast<uint8_t*>(buffer.data()), &got);
        if (status == kErrorSuccess && got <= buffer.size()) {
            buffer.resize(got);
            *data = std::move(buffer);
            return status;
        }
        if (status != kErrorSuccess && status != kErrorMoreData) return status;
        if (limit != kWhole) return kErrorMoreData;
        size = got;
    }
    return kErrorMoreData;
}

long RegKey::ReadText(const std::string& valueName, std::string* text) const {
    text->clear();
    std::string bytes;
    uint32_t type = 0;
    const long status = QueryValue(ToAnsi(valueName), &type, &bytes, kReadLimit);
    if (status != kErrorSuccess || bytes.empty()) return status;
    // A stored terminator is not part of the text; a value stored without one comes back whole.
    if (bytes.back() == '\0') bytes.pop_back();
    switch (type) {
    case kRegSz:
    case kRegMultiSz:
    case kRegBinary:
        *text = FromAnsi(bytes);
        break;
    case kRegDword:
        *text = DwordText(bytes);
        break;
    default:
        break; // other types read as "" and still count as read
    }
    return status;
}

long RegKey::SetValue(const std::string& valueName, uint32_t type, std::string_view data) const {
    return reg_.SetValueEx(key_, valueName, type, reinterpret_cast<const uint8_t*>(data.data()),
                           static_cast<uint32_t>(data.size()));
}

bool RegKey::Writes(uint32_t type) {
    return type == kRegSz || type == kRegMultiSz || type == kRegBinary || type == kRegDword;
}

long RegKey::Write(const std::string& valueName, uint32_t type, const RegValue& value) const {
    const std::string ansiName = ToAnsi(valueName);
    uint32_t storedType = 0;
    std::string data;
    if (!Encode(reg_, key_, type, ansiName, value, &storedType, &data))
        return kErrorInvalidParameter;
    return SetValue(ansiName, storedType, data);
}

} // namespace ww
