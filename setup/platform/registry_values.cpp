#include "platform/registry_values.h"

#include <array>
#include <cmath>
#include <limits>

#include "common/text.h"
#include "platform/internal_error.h"
#include "platform/log.h"
#include "seams/codepage.h"
#include "seams/system.h"

namespace ww {
namespace {

constexpr uint32_t kReadBufferSize = 1024;

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

// dwPlatformId of the version query.
constexpr uint32_t kVerPlatformWin32s = 0;
constexpr uint32_t kVerPlatformWin32Windows = 1;
constexpr uint32_t kVerPlatformWin32Nt = 2;
constexpr uint32_t kAnyPlatform = 0xFFFFFFFF;
constexpr uint32_t kAnyBuild = 0;

struct OsRow {
    uint32_t platform;
    uint32_t build;
    const char* line;
    OsFamily family;
};

// First matching row wins; the last one takes every other platform.
constexpr std::array<OsRow, 7> kOsRows{{
    {kVerPlatformWin32s, kAnyBuild, "OS = Win32", OsFamily::Win32s},
    {kVerPlatformWin32Windows, kAnyBuild, "OS = Win98", OsFamily::Win9x},
    {kVerPlatformWin32Nt, 1381, "OS = WinNT", OsFamily::Nt4},
    {kVerPlatformWin32Nt, 2195, "OS = Win2K", OsFamily::Win2000},
    {kVerPlatformWin32Nt, 2600, "OS = WinXP", OsFamily::WinXp},
    {kVerPlatformWin32Nt, kAnyBuild, "OS = Unknown", OsFamily::Other},
    {kAnyPlatform, kAnyBuild, "OS = Other", OsFamily::Other},
}};

// The row of a version; the last row takes every other platform.
const OsRow& Classify(const OsVersionInfo& info) {
    for (const OsRow& row : kOsRows) {
        const bool platformMatches =
            row.platform == kAnyPlatform || row.platform == info.dwPlatformId;
        const bool buildMatches = row.build == kAnyBuild || row.build == info.dwBuildNumber;
        if (platformMatches && buildMatches) return row;
    }
    return kOsRows.back();
}

} // namespace

bool ReadRegValue(App& app, HKey root, const std::string& keyPath, const std::string& valueName,
                  std::string& text) {
    text.clear();
    RegKey key(*app.reg);
    try {
        std::string bytes;
        uint32_t type = 0;
        if (key.Open(root, ToAnsi(keyPath), kKeyReadWrite) != kErrorSuccess ||
            key.QueryValue(ToAnsi(valueName), &type, &bytes, kReadBufferSize) != kErrorSuccess)
            return false;
        if (bytes.empty()) return true;
        // A stored terminator is not part of the text; a value stored without one comes back whole.
        if (bytes.back() == '\0') bytes.pop_back();
        switch (type) {
        case kRegSz:
        case kRegMultiSz:
        case kRegBinary:
            text = FromAnsi(bytes);
            break;
        case kRegDword:
            text = DwordText(bytes);
            break;
        default:
            break; // other types read as "" and still count as read
        }
        return true;
    } catch (...) {
        text.clear();
        const InternalError e = CurrentInternalError();
        WriteLog(app,
                 "Error in reading regkey: " + std::to_string(e.number) + ", " + e.description);
        return false;
    }
}

bool WriteRegValue(App& app, HKey root, const std::string& keyPath, uint32_t type,
                   const std::string& valueName, RegValue& value) {
    Registry& reg = *app.reg;
    const std::string ansiPath = ToAnsi(keyPath);
    const std::string ansiName = ToAnsi(valueName);
    RegKey key(reg);
    long status = key.Open(root, ansiPath, kKeyReadWrite);
    if (status != kErrorSuccess) {
        // Creates the key with any missing parents; a key that exists already is opened with the
        // rights the user has. Whether the write then succeeds decides the result.
        key.Create(root, ansiPath);
    }
    uint32_t storedType = 0;
    std::string data;
    if (Encode(reg, key.get(), type, ansiName, value, &storedType, &data)) {
        status = reg.SetValueEx(key.get(), ansiName, storedType,
                                reinterpret_cast<const uint8_t*>(data.data()),
                                static_cast<uint32_t>(data.size()));
    }
    if (status != kErrorSuccess) {
        value = std::string();
        return false;
    }
    return true;
}

OsFamily DetectOS(App& app) {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    if (!app.sys->GetVersionExA(&info)) return OsFamily::Win32s;
    const OsRow& given = Classify(info);
    WriteLog(app, given.line);
    // A compatibility setting (Windows 98, say) makes the version call name another Windows and
    // would send the program down that Windows' road on this one; the road follows what the
    // system really is. Builds that the rows do not tell apart (a later Windows that the call
    // reports as 6.2 to programs without its manifest entry) are no disagreement.
    OsVersionInfo real;
    real.dwOSVersionInfoSize = 148;
    if (app.sys->RtlGetVersion(&real) && &Classify(real) != &given) {
        WriteLog(app, "Compatibility mode: Windows NT " + std::to_string(real.dwMajorVersion) +
                          "." + std::to_string(real.dwMinorVersion) + " build " +
                          std::to_string(real.dwBuildNumber));
        info = real;
    }
    app.NtPlatform = info.dwPlatformId == kVerPlatformWin32Nt;
    return Classify(info).family;
}

} // namespace ww
