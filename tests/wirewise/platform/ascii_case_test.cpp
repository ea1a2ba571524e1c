#include "platform/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

namespace ww {
namespace {

// Only a to z fold: the characters next to the letters in ASCII, the accented letters of a code
// page and the bytes of UTF-8 sequences are compared as they are.
TEST(AsciiCase, OnlyTheLettersAToZFold) {
    EXPECT_EQ(UpperAscii("az AZ @[`{ 09 caf\xe9 \xc3\xa9"), "AZ AZ @[`{ 09 CAF\xe9 \xc3\xa9");
    const struct {
        const char* a;
        const char* b;
        bool equal, contained; // a equals b; b lies in a
    } cases[] = {
        {"Nettrans\\0001", "NETTRANS\\0001", true, true},
        {"eth0", "ETH", false, true},
        {"caf\xe9", "CAF\xc9", false, false},
        {"\xc3\xa9", "\xc3\x89", false, false},
        {"@", "`", false, false},
        {"[", "{", false, false},
        {"ab", "abc", false, false},
        {"", "", true, true},
        {"x", "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(EqualsAsciiNoCase(c.a, c.b), c.equal);
        EXPECT_EQ(EqualsAsciiNoCase(c.b, c.a), c.equal);
        EXPECT_EQ(ContainsAsciiNoCase(c.a, c.b), c.contained);
    }
}

} // namespace
} // namespace ww
