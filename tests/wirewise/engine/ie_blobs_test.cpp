#include <gtest/gtest.h>

#include "engine/failure.h"
#include "engine/ie_blobs.h"
#include "fakes/wirewise/test_app.h"
#include "platform/registry_values.h"
#include "seams/codepage.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

const std::string kKey =
    "S-1-5-21-1-2-3-1000\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
    "Settings\\Connections";

// A connection blob as Internet Explorer stores it: size, counter, flags at offset 8, then the
// proxy and script texts' lengths and whatever follows.
Bytes Blob(size_t length, uint8_t flags, uint8_t last) {
    Bytes b(length);
    for (size_t i = 0; i < length; ++i)
        b[i] = static_cast<uint8_t>(0x20 + i % 64);
    if (length > 8) b[8] = flags;
    b[length - 1] = last;
    return b;
}

std::string Str(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

struct Blobs : ::testing::Test {
    TestApp t;
    Blobs() { t.options.ieAuto = true; }
    void Seed(const char* name, const Bytes& b) { t.reg.SetBinary(kHkeyUsers, kKey, name, b); }
    std::optional<FakeRegistry::Value> Get(const char* name) {
        return t.reg.Get(kHkeyUsers, kKey, name);
    }
};

TEST_F(Blobs, UntickedBoxLeavesEverythingAlone) {
    t.options.ieAuto = false;
    Seed("DefaultConnectionSettings", Blob(60, 0x0B, 0));
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_TRUE(t.LogLines().empty());
    EXPECT_EQ(Get("DefaultConnectionSettings")->bytes, Str(Blob(60, 0x0B, 0)));
}

// Only the flags byte changes and each value keeps its stored length, also when the last
// byte is a zero that a text read would drop.
TEST_F(Blobs, BothRewrittenByteForByteWithTheirStoredLength) {
    const struct {
        size_t length;
        uint8_t flags;
        uint8_t last;
        bool enable;
        uint8_t expected;
    } cases[] = {
        {60, 0x0B, 0x00, true, 0x09},  {60, 0x0B, 0x7F, true, 0x09}, {60, 0x03, 0x00, true, 0x09},
        {60, 0x0F, 0x00, false, 0x01}, {9, 0x0B, 0x0B, true, 0x09},  {1024, 0x05, 0x00, true, 0x09},
        {60, 0x0B, 0xFF, true, 0x09},
    };
    for (const auto& c : cases) {
        TestApp app;
        app.options.ieAuto = true;
        const Bytes def = Blob(c.length, c.flags, c.last);
        Bytes legacy = def;
        legacy[0] = 0x99;
        app.reg.SetBinary(kHkeyUsers, kKey, "DefaultConnectionSettings", def);
        app.reg.SetBinary(kHkeyUsers, kKey, "SavedLegacySettings", legacy);

        EXPECT_TRUE(SetAutoDetect(app.app, kKey, c.enable)) << c.length;

        EXPECT_EQ(app.LogLines(),
                  (Lines{"Autokey = " + kKey, "Setting Default Con", "Setting Legacy"}));
        Bytes want = def;
        want[8] = c.expected;
        const auto gotDef = app.reg.Get(kHkeyUsers, kKey, "DefaultConnectionSettings");
        EXPECT_EQ(gotDef->type, kRegBinary);
        EXPECT_EQ(gotDef->bytes, Str(want)) << c.length << " last " << int(c.last);
        want[0] = 0x99;
        EXPECT_EQ(app.reg.Get(kHkeyUsers, kKey, "SavedLegacySettings")->bytes, Str(want));
    }
}

TEST_F(Blobs, OnlyLegacyPresentIsRewrittenButFalse) {
    Seed("SavedLegacySettings", Blob(60, 0x0B, 0));
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey, "Setting Legacy"}));
    EXPECT_EQ(Get("SavedLegacySettings")->bytes[8], '\x09');
    EXPECT_FALSE(Get("DefaultConnectionSettings"));
}

TEST_F(Blobs, OnlyDefaultPresentIsRewrittenButFalse) {
    Seed("DefaultConnectionSettings", Blob(60, 0x0B, 0));
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey, "Setting Default Con"}));
    EXPECT_FALSE(Get("SavedLegacySettings"));
}

TEST_F(Blobs, ShorterThanNineBytesCannotBeSpliced) {
    Seed("DefaultConnectionSettings", Blob(8, 0x0B, 0x0B));
    Seed("SavedLegacySettings", Blob(60, 0x0B, 0));
    EXPECT_THROW(SetAutoDetect(t.app, kKey, true), EngineFailure);
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey}));
    EXPECT_EQ(Get("DefaultConnectionSettings")->bytes, Str(Blob(8, 0x0B, 0x0B)));
    EXPECT_EQ(Get("SavedLegacySettings")->bytes, Str(Blob(60, 0x0B, 0)));

    TestApp empty;
    empty.options.ieAuto = true;
    empty.reg.SetBinary(kHkeyUsers, kKey, "SavedLegacySettings", {});
    EXPECT_THROW(SetAutoDetect(empty.app, kKey, true), EngineFailure);
}

TEST_F(Blobs, OverTheReadLimitIsLeftAlone) {
    Seed("DefaultConnectionSettings", Blob(1025, 0x0B, 0));
    Seed("SavedLegacySettings", Blob(60, 0x0B, 0));
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey, "Setting Legacy"}));
    EXPECT_EQ(Get("DefaultConnectionSettings")->bytes, Str(Blob(1025, 0x0B, 0)));
}

TEST_F(Blobs, AFailedWriteIsFalseAfterItsLine) {
    Seed("DefaultConnectionSettings", Blob(60, 0x0B, 0));
    Seed("SavedLegacySettings", Blob(60, 0x0B, 0));
    t.reg.FailOp(FakeRegistry::Op::SetValueEx, kErrorAccessDenied);
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey, "Setting Default Con", "Setting Legacy"}));
    EXPECT_EQ(Get("DefaultConnectionSettings")->bytes, Str(Blob(60, 0x0B, 0)));
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST_F(Blobs, AKeyTheUserMayNotWriteIsSkipped) {
    Seed("DefaultConnectionSettings", Blob(60, 0x0B, 0));
    t.reg.MarkReadOnly(kHkeyUsers, kKey);
    EXPECT_FALSE(SetAutoDetect(t.app, kKey, true));
    EXPECT_EQ(t.LogLines(), (Lines{"Autokey = " + kKey}));
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST(BytesToHex, EveryByteTwoLowerCaseDigitsAndAClosingZero) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "00"},
        {"\xff", "ff,00"},
        {std::string("\x46\x00\x0a", 3), "46,00,0a,00"},
        {std::string("\x00", 1), "00,00"},
        {"\x0B\x10\x7f\xa0", "0b,10,7f,a0,00"},
    };
    for (const auto& [bytes, hex] : cases) {
        // The text holds the bytes as the program's text holds ANSI characters.
        EXPECT_EQ(BytesToHex(FromAnsi(bytes)), hex) << hex;
    }
}

TEST(ZeroPad, PadsInFrontUpToTheWidth) {
    EXPECT_EQ(ZeroPad("a", 2), "0a");
    EXPECT_EQ(ZeroPad("ff", 2), "ff");
    EXPECT_EQ(ZeroPad("", 2), "00");
    EXPECT_EQ(ZeroPad("123", 2), "123");
}

} // namespace
} // namespace ww::test
