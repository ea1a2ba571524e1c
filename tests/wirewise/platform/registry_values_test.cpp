#include "platform/registry_values.h"

#include <gtest/gtest.h>

#include <optional>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

constexpr HKey kHklm = kHkeyLocalMachine;
const std::string kKey = "Software\\Corvane";

using Bytes = std::string;

TEST(ReadRegValue, RendersEachTypeAsText) {
    struct Case {
        const char* name;
        uint32_t type;
        Bytes bytes;
        std::string text;
    } cases[] = {
        {"sz with NUL", 1, Bytes("abc\0", 4), "abc"},
        {"sz without NUL", 1, "abc", "abc"},
        {"sz only a NUL", 1, Bytes("\0", 1), ""},
        {"sz ANSI", 1, Bytes("caf\xE9\0", 5), "caf\xC3\xA9"},
        {"size 0", 1, "", ""},
        {"multi keeps one NUL", 7, Bytes("a\0bc\0\0", 6), Bytes("a\0bc\0", 5)},
        {"binary drops a final zero", 3, Bytes("\x01\x02\0", 3), "\x01\x02"},
        {"binary without final zero", 3, "\x01\x7F", "\x01\x7F"},
        {"dword 1", 4, Bytes("\x01\0\0\0", 4), "1"},
        {"dword 256", 4, Bytes("\0\x01\0\0", 4), "256"},
        {"dword 0", 4, Bytes("\0\0\0\0", 4), "0"},
        {"dword negative", 4, "\xFF\xFF\xFF\xFF", "-1"},
        {"dword minimum", 4, Bytes("\0\0\0\x80", 4), "-2147483648"},
        {"dword maximum", 4, "\xFF\xFF\xFF\x7F", "2147483647"},
        {"dword short", 4, "\x1A", "26"},
        {"expand sz", 2, Bytes("%SystemRoot%\0", 13), ""},
        {"big endian", 5, Bytes("\0\0\0\x01", 4), ""},
        {"link", 6, "x", ""},
        {"none", 0, "x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.reg.SetValue(kHklm, kKey, "V", c.type, c.bytes);
        std::string text = "stale";
        EXPECT_TRUE(ReadRegValue(t.app, kHklm, kKey, "V", text));
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
        EXPECT_EQ(t.reg.openAccess, std::vector<uint32_t>{0x2003F});
        EXPECT_TRUE(t.LogLines().empty());
    }
}

TEST(ReadRegValue, FailsQuietlyOnRegistryStatuses) {
    struct Case {
        const char* name;
        const char* key;
        const char* value;
    } cases[] = {
        {"missing key", "Software\\Missing", "V"},
        {"missing value", "Software\\Corvane", "Missing"},
        {"1025 bytes", "Software\\Corvane", "Big"},
        {"read-only key", "Software\\Locked", "V"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.reg.SetValue(kHklm, kKey, "Big", 3, Bytes(1025, 'x'));
        t.reg.SetString(kHklm, "Software\\Locked", "V", "x");
        t.reg.MarkReadOnly(kHklm, "Software\\Locked");
        std::string text = "stale";
        EXPECT_FALSE(ReadRegValue(t.app, kHklm, c.key, c.value, text));
        EXPECT_EQ(text, "");
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
        EXPECT_TRUE(t.LogLines().empty());
    }
}

TEST(ReadRegValue, ReadsExactly1024Bytes) {
    TestApp t;
    t.reg.SetValue(kHklm, kKey, "V", 3, Bytes(1024, 'x'));
    std::string text;
    EXPECT_TRUE(ReadRegValue(t.app, kHklm, kKey, "V", text));
    EXPECT_EQ(text, Bytes(1024, 'x'));
}

TEST(ReadRegValue, AnOversizedNumberIsAnInternalErrorAndIsLogged) {
    TestApp t;
    t.reg.SetValue(kHklm, kKey, "V", 4, "\x01\x02\x03\x04\x05");
    std::string text = "stale";
    EXPECT_FALSE(ReadRegValue(t.app, kHklm, kKey, "V", text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(t.LogLines(), std::vector<std::string>{"Error in reading regkey: 6, Overflow"});
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST(WriteRegValue, StoresEachTypeWithItsBytes) {
    struct Case {
        const char* name;
        uint32_t type;
        RegValue value;
        uint32_t storedType;
        Bytes bytes;
    } cases[] = {
        {"text", 1, std::string("abc"), 1, Bytes("abc\0", 4)},
        {"empty text", 1, std::string(""), 1, Bytes("\0", 1)},
        {"number as text", 1, 0LL, 1, Bytes("0\0", 2)},
        {"ANSI text", 1, std::string("caf\xC3\xA9"), 1, Bytes("caf\xE9\0", 5)},
        {"type 7 new value", 7, std::string("0.0.0.0"), 1, Bytes("0.0.0.0\0", 8)},
        {"binary", 3, std::string("\x01\x02\x03"), 3, "\x01\x02\x03"},
        {"binary empty", 3, std::string(""), 3, ""},
        {"dword 0", 4, 0LL, 4, Bytes("\0\0\0\0", 4)},
        {"dword negative", 4, -2LL, 4, "\xFE\xFF\xFF\xFF"},
        {"dword from text", 4, std::string(" 258 "), 4, Bytes("\x02\x01\0\0", 4)},
        {"dword rounds half to even", 4, std::string("2.5"), 4, Bytes("\x02\0\0\0", 4)},
        {"dword rounds up", 4, std::string("2.51"), 4, Bytes("\x03\0\0\0", 4)},
        {"dword hex literal", 4, std::string("&hFFFFFFFF"), 4, "\xFF\xFF\xFF\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.reg.CreateKeyPath(kHklm, kKey);
        RegValue value = c.value;
        EXPECT_TRUE(WriteRegValue(t.app, kHklm, kKey, c.type, "V", value));
        EXPECT_EQ(value, c.value);
        const auto stored = t.reg.Get(kHklm, kKey, "V");
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->type, c.storedType);
        EXPECT_EQ(stored->bytes, c.bytes);
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    }
}

TEST(WriteRegValue, Type7KeepsAListAsAList) {
    struct Case {
        const char* name;
        uint32_t existingType;
        std::string text;
        uint32_t storedType;
        Bytes bytes;
    } cases[] = {
        {"list gets one string", 7, "0.0.0.0", 7, Bytes("0.0.0.0\0\0", 9)},
        {"list emptied", 7, "", 7, Bytes("\0", 1)},
        {"list text read back keeps its NUL", 7, Bytes("a\0b\0", 4), 7, Bytes("a\0b\0\0", 5)},
        {"text stays text", 1, "0.0.0.0", 1, Bytes("0.0.0.0\0", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.reg.SetValue(kHklm, kKey, "DefaultGateway", c.existingType, Bytes("10.0.0.1\0\0", 10));
        RegValue value = c.text;
        EXPECT_TRUE(WriteRegValue(t.app, kHklm, kKey, 7, "DefaultGateway", value));
        const auto stored = t.reg.Get(kHklm, kKey, "DefaultGateway");
        EXPECT_EQ(stored->type, c.storedType);
        EXPECT_EQ(stored->bytes, c.bytes);
        std::string back;
        EXPECT_TRUE(ReadRegValue(t.app, kHklm, kKey, "DefaultGateway", back));
        if (c.storedType == 7 && !c.text.empty() && c.text.back() != '\0') {
            EXPECT_EQ(back, c.text + Bytes(1, '\0'));
        }
    }
}

TEST(WriteRegValue, CreatesAMissingKeyWithItsParents) {
    TestApp t;
    RegValue value = 1LL;
    EXPECT_TRUE(WriteRegValue(t.app, kHklm, "A\\B\\C", 4, "V", value));
    EXPECT_TRUE(t.reg.KeyExists(kHklm, "A\\B"));
    EXPECT_EQ(t.reg.Get(kHklm, "A\\B\\C", "V")->bytes, Bytes("\x01\0\0\0", 4));
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    EXPECT_EQ(t.reg.badCloses, 0);
}

TEST(WriteRegValue, AFailureClearsTheCallersValue) {
    struct Case {
        const char* name;
        const char* key;
        uint32_t type;
    } cases[] = {
        {"read-only key", "Software\\Locked", 1},
        {"below a read-only key", "Software\\Locked\\Sub", 4},
        {"unknown type on a missing key", "Software\\New", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.reg.SetString(kHklm, "Software\\Locked", "V", "old");
        t.reg.MarkReadOnly(kHklm, "Software\\Locked");
        RegValue value = 5LL;
        EXPECT_FALSE(WriteRegValue(t.app, kHklm, c.key, c.type, "V", value));
        EXPECT_EQ(value, RegValue(std::string()));
        EXPECT_EQ(t.reg.Get(kHklm, "Software\\Locked", "V")->bytes, Bytes("old\0", 4));
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    }
}

TEST(WriteRegValue, UnknownTypeOnAnOpenableKeyWritesNothingAndSucceeds) {
    TestApp t;
    t.reg.CreateKeyPath(kHklm, kKey);
    RegValue value = std::string("x");
    EXPECT_TRUE(WriteRegValue(t.app, kHklm, kKey, 2, "V", value));
    EXPECT_FALSE(t.reg.Get(kHklm, kKey, "V").has_value());
}

TEST(WriteRegValue, ANonNumberForType4GoesToTheCallerAndClosesTheKey) {
    for (const RegValue& bad :
         {RegValue(std::string("abc")), RegValue(std::string("")),
          RegValue(std::string("2147483648")), RegValue(1LL << 40), RegValue(std::string("1e3"))}) {
        TestApp t;
        t.reg.CreateKeyPath(kHklm, kKey);
        RegValue value = bad;
        EXPECT_THROW(WriteRegValue(t.app, kHklm, kKey, 4, "V", value), RegConversionError);
        EXPECT_EQ(value, bad);
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    }
}

TEST(RegistryValues, EveryByteOfABinaryValueSurvivesAReadAndAWrite) {
    TestApp t;
    Bytes all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    t.reg.SetValue(kHklm, kKey, "Blob", 3, all);
    std::string text;
    ASSERT_TRUE(ReadRegValue(t.app, kHklm, kKey, "Blob", text));
    RegValue value = text;
    ASSERT_TRUE(WriteRegValue(t.app, kHklm, kKey, 3, "Blob", value));
    EXPECT_EQ(t.reg.Get(kHklm, kKey, "Blob")->bytes, all);
}

} // namespace
} // namespace ww::test
