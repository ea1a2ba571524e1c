#pragma once
// An opened registry key and what the program does with its values.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "seams/registry.h"

namespace ww {

// A value to write: text, or a number (written as its decimal text for the text types).
using RegValue = std::variant<std::string, long long>;

// Thrown by RegKey::Write when a type 4 value is no 32-bit integer; the caller's handler deals
// with it.
struct RegConversionError {
    std::string text;
};

// An opened key, closed on every way out as the A functions require. Open and Create close the
// key held before they take the next. Names in Open, Create, QueryValue and SetValue are bytes in
// the ANSI code page, as the A functions take them; ReadText and Write take program text.
class RegKey {
  public:
    // QueryValue's limit for "however large the value is".
    static constexpr uint32_t kWhole = 0;
    // The most bytes ReadText reads of a value.
    static constexpr uint32_t kReadLimit = 1024;

    explicit RegKey(Registry& reg) : reg_(reg) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    HKey get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }
    // RegCloseKey now; holding no key is harmless.
    void Close() {
        if (key_ != 0) reg_.CloseKey(key_);
        key_ = 0;
    }

    // RegOpenKeyExA
    long Open(HKey root, const std::string& subKey, uint32_t access) {
        Close();
        return reg_.OpenKeyEx(root, subKey, 0, access, &key_);
    }
    // RegCreateKeyA: creates missing parents, opens an existing key
    long Create(HKey root, const std::string& subKey) {
        Close();
        return reg_.CreateKey(root, subKey, &key_);
    }

    // RegQueryValueExA for the value's type and all of its bytes. With a limit the value is read
    // once into that many bytes (kErrorMoreData when it holds more); without one the size is asked
    // first and the read repeated, a few times at most, while the value keeps growing.
    long QueryValue(const std::string& valueName, uint32_t* type, std::string* data,
                    uint32_t limit = kWhole) const;

    // The value as program text, read once into kReadLimit bytes: a text, list or binary value
    // from the ANSI code page without a stored terminator, a number in signed decimal, any other
    // type "". text is "" unless the answer is kErrorSuccess; a number of more than four bytes
    // throws NumberedError (6, Overflow).
    long ReadText(const std::string& valueName, std::string* text) const;

    // RegSetValueExA with the bytes as they are.
    long SetValue(const std::string& valueName, uint32_t type, std::string_view data) const;

    // Whether Write stores values of this type: text (1), list (7), binary (3) and number (4).
    static bool Writes(uint32_t type);
    // Stores the value as type: a text with its terminator in the ANSI code page (as a one-text
    // list where the value already is a list, else as a text, for 1 and 7), the text's ANSI bytes
    // (3), or a 32-bit number (4, RegConversionError before anything is written when it is none).
    // A type Writes refuses writes nothing and answers 87 (invalid parameter).
    long Write(const std::string& valueName, uint32_t type, const RegValue& value) const;

  private:
    Registry& reg_;
    HKey key_ = 0;
};

} // namespace ww
