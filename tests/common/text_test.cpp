#include "common/text.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(Text, UpToNulNeverReadsPastTheBuffer) {
    struct Case {
        const char* name;
        std::string buffer;
        size_t size;
        std::string text;
    };
    for (const Case& c : {
             Case{"a NUL inside", "ab\0cd"s, 5, "ab"},
             Case{"a NUL first", "\0ab"s, 3, ""},
             Case{"no NUL: the whole buffer", "abcd", 4, "abcd"},
             Case{"the NUL past the size is not looked for", "abcd", 2, "ab"},
             Case{"an empty buffer", "", 0, ""},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UpToNul(c.buffer.data(), c.size), c.text);
        EXPECT_EQ(UpToNul(std::string_view(c.buffer.data(), c.size)), c.text);
    }
}

TEST(Text, TrimTakesTheBlanksOffBothEnds) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\tx\r\n"), "\tx\r\n") << "spaces only by default";
    EXPECT_EQ(Trim(" \tx y\r\n", kLineBlanks), "x y");
}

TEST(Text, AppendHexByteWritesBothDigits) {
    std::string out;
    for (const unsigned char b : {0x00, 0x0A, 0xA0, 0xFF})
        AppendHexByte(out, b, kHexUpper);
    AppendHexByte(out, 0xAB, kHexLower);
    EXPECT_EQ(out, "000AA0FFab");
}

} // namespace
} // namespace corvane
