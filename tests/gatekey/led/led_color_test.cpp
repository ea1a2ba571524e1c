// Shades of the body colour and the rounding of the lamp's layout.
#include <gtest/gtest.h>

#include "fakes/gatekey/canvas_fake.h"
#include "led/color.h"
#include "led/rounding.h"

namespace gk::test {
namespace {

TEST(ShadeColor, MovesRedAndGreenByTheAmountAndBlueInProportion) {
    const struct {
        Rgb color;
        int amount;
        Rgb expected;
    } cases[] = {
        {0xFF0000, -150, 0x380000}, // blue: 255 + (-150 * 255) / 192 = 56; red, green clamp at 0
        {0x0000FF, -150, 0x000069}, // red 105
        {0x0000FF, +150, 0x0096FF}, // red clamps at 255, green 150
        {0xFFFFFF, +150, 0xFFFFFF}, // white stays white
        {0xFFFFFF, +50, 0xFFFFFF},  {0x000000, -150, 0x000000}, // black stays black
        {0x000000, -50, 0x000000},  {0x000000, +100, 0x006464}, // blue has nothing to scale
        {0x808080, +50, 0xA1B2B2},                              // blue 128 + 6400/192 = 128 + 33
        {0x808080, -50, 0x5F4E4E},  // blue 128 - 33 (truncated toward zero)
        {0xC8D0D4, -170, 0x17262A}, // button face: the inner corner shade
        {0x123456, 0, 0x123456},    {0xFF123456, 0, 0x123456}, // only the three colour bytes count
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShadeColor(c.color, c.amount), c.expected)
            << std::hex << c.color << " by " << std::dec << c.amount;
    }
}

TEST(OleTranslateColor, EachFormAsTheSystemDefinesIt) {
    FakeColors colors;
    colors.buttonFace = 0x00C8D0D4;
    constexpr Rgb kUntouched = 0xDEADBEEF;
    const struct {
        OleColor color;
        int32_t status;
        Rgb expected;
    } cases[] = {
        {0x00000000, kSOk, 0x00000000},         // RGB black
        {0x00FFC0C0, kSOk, 0x00FFC0C0},         // RGB as it is
        {0x8000000F, kSOk, 0x00C8D0D4},         // COLOR_BTNFACE
        {0x80000000, kSOk, 0x0000000A},         // COLOR_SCROLLBAR, the first index
        {0x80000005, kSOk, 0x0000050A},         // COLOR_WINDOW
        {0x8000001E, kSOk, 0x00001E0A},         // COLOR_MENUBAR, the last index
        {0x8000001F, kEInvalidArg, kUntouched}, // one past the last index
        {0x800000FF, kEInvalidArg, kUntouched},
        {0x80000100, kEInvalidArg, kUntouched}, // the index is one byte
        {0x80FF000F, kEInvalidArg, kUntouched},
        {0x01000000, kSOk, 0x01000000},         // palette index 0
        {0x0100FFFF, kSOk, 0x0100FFFF},         // palette index 65535
        {0x01010000, kEInvalidArg, kUntouched}, // a palette index has 16 bits
        {0x02123456, kSOk, 0x02123456},         // palette-relative RGB
        {0x03000000, kEInvalidArg, kUntouched}, // no other high byte has a meaning
        {0x04FFFFFF, kEInvalidArg, kUntouched},
        {0x7F000000, kEInvalidArg, kUntouched},
        {0x81000005, kEInvalidArg, kUntouched},
        {0xFF000000, kEInvalidArg, kUntouched},
        {0xFFFFFFFF, kEInvalidArg, kUntouched},
    };
    for (const auto& c : cases) {
        Rgb rgb = kUntouched;
        EXPECT_EQ(OleTranslateColor(colors, c.color, &rgb), c.status) << std::hex << c.color;
        EXPECT_EQ(rgb, c.expected) << std::hex << c.color;
        // A null output asks only whether the colour translates.
        EXPECT_EQ(OleTranslateColor(colors, c.color, nullptr), c.status) << std::hex << c.color;
    }
}

TEST(TranslateColor, StartsFromBlackAndIgnoresTheStatus) {
    FakeColors colors;
    EXPECT_EQ(TranslateColor(colors, 0x0000FF), 0x0000FFu);
    EXPECT_EQ(TranslateColor(colors, kButtonFace), colors.buttonFace);
    EXPECT_EQ(TranslateColor(colors, 0x80000020), 0u);
    EXPECT_EQ(TranslateColor(colors, 0x40123456), 0u);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {16.5, 16},  {22.5, 22}, {9.5, 10}, {-0.5, 0},
                 {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7.0, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

} // namespace
} // namespace gk::test
