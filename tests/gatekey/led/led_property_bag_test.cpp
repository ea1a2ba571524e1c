// The saved description's text form and the conversions of its values.
#include <gtest/gtest.h>

#include "fakes/gatekey/canvas_fake.h"
#include "led/property_bag.h"

namespace gk::test {
namespace {

TEST(ParseInt32, AcceptsDecimalAndHexWithinThirtyTwoBits) {
    const struct {
        const char* text;
        std::optional<int32_t> expected;
    } cases[] = {
        {"255", 255},
        {" 255 ", 255},
        {"+7", 7},
        {"-1", -1},
        {"0x8000000F", static_cast<int32_t>(0x8000000Fu)},
        {"&H8000000f", static_cast<int32_t>(0x8000000Fu)},
        {"2147483663", static_cast<int32_t>(0x8000000Fu)},
        {"4294967295", -1},
        {"-2147483648", INT32_MIN},
        {"4294967296", std::nullopt},
        {"-2147483649", std::nullopt},
        {"0x100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {"ff", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInt32(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseBool, AcceptsWordsAndNumbers) {
    const struct {
        const char* text;
        std::optional<bool> expected;
    } cases[] = {{"True", true},         {"true", true},        {"FALSE", false},
                 {"-1", true},           {"0", false},          {"1", true},
                 {" false ", false},     {"yes", std::nullopt}, {"", std::nullopt},
                 {"Truth", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseBool(c.text), c.expected) << '"' << c.text << '"';
}

TEST(PropertyBag, WriteReplacesAKeyOfAnyCaseInPlace) {
    PropertyBag bag;
    bag.Write("fdc", int32_t{1});
    bag.Write("btxt", std::string("a"));
    bag.Write("FDC", int32_t{2});
    ASSERT_EQ(bag.Entries().size(), 2u);
    EXPECT_EQ(bag.Entries()[0].first, "fdc");
    EXPECT_EQ(bag.ReadInt32("Fdc"), 2);
    EXPECT_TRUE(bag.Remove("BTXT"));
    EXPECT_FALSE(bag.Remove("btxt"));
    EXPECT_EQ(bag.ReadString("btxt"), std::nullopt);
}

TEST(ParseDescription, ReadsKeyValueLines) {
    const std::string text = "; the router lamp\r\n"
                             "  allo = True \r\n"
                             "\r\n"
                             "fdc=255\n"
                             "no equals sign here\n"
                             "=orphan value\n"
                             "# another comment\n"
                             "btxt=\" Not = connected \"\r\n"
                             "bdc=0x8000000F";
    const PropertyBag bag = ParseDescription(text);
    ASSERT_EQ(bag.Entries().size(), 4u);
    EXPECT_EQ(bag.ReadBool("ALLO"), true);
    EXPECT_EQ(bag.ReadInt32("FDC"), 255);
    EXPECT_EQ(bag.ReadString("BTXT"), " Not = connected ");
    EXPECT_EQ(bag.ReadInt32("BDC"), static_cast<int32_t>(0x8000000Fu));
}

TEST(ParseDescription, StopsAtANulAndTakesTheLastOfRepeatedKeys) {
    const std::string text("fdc=1\nFDC=2\n\0bdc=3\n", 17);
    const PropertyBag bag = ParseDescription(text);
    EXPECT_EQ(bag.ReadInt32("fdc"), 2);
    EXPECT_EQ(bag.Find("bdc"), nullptr);
    EXPECT_EQ(bag.Entries().size(), 1u);
}

TEST(ParseDescription, TurnsPictureReferencesIntoPicturesWhereTheLoaderCan) {
    auto picture = std::make_shared<FakePicture>(8, 8);
    std::vector<std::string> asked;
    const PictureLoader loader = [&](const std::string& reference) -> PicturePtr {
        asked.push_back(reference);
        return reference == "LOGO" ? picture : nullptr;
    };
    const PropertyBag found = ParseDescription("bacimg=LOGO\nbtxt=LOGO\n", "BACIMG", loader);
    EXPECT_EQ(found.ReadPicture("BACIMG"), picture);
    EXPECT_EQ(found.ReadString("btxt"), "LOGO");

    const PropertyBag missing = ParseDescription("BacImg=#99\n", "BACIMG", loader);
    EXPECT_EQ(missing.ReadPicture("BACIMG"), nullptr);
    EXPECT_EQ(missing.ReadString("BACIMG"), "#99"); // kept as text: not a picture
    EXPECT_EQ(asked, (std::vector<std::string>{"LOGO", "#99"}));
}

TEST(FormatDescription, QuotesOnlyWhereBlanksWouldBeLostAndSkipsWhatHasNoLineForm) {
    PropertyBag bag;
    bag.Write("BACIMG", std::make_shared<FakePicture>(1, 1));
    bag.Write("ALLO", false);
    bag.Write("FDC", int32_t{65280});
    bag.Write("BTXT", std::string(" edge "));
    bag.Write("NOTE", std::string("two\r\nlines"));
    bag.Write("PLAIN", std::string("a b"));
    EXPECT_EQ(FormatDescription(bag),
              "ALLO=False\r\nFDC=65280\r\nBTXT=\" edge \"\r\nPLAIN=a b\r\n");
}

} // namespace
} // namespace gk::test
