// Shades of the body colour and the rounding of the lamp's layout.
#include <gtest/gtest.h>

#include "canvas_fake.h"
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

TEST(TranslateColor, StartsFromBlackAndIgnoresTheStatus) {
    FakeColors colors;
    EXPECT_EQ(TranslateColor(colors, 0x0000FF), 0x0000FFu);
    EXPECT_EQ(TranslateColor(colors, kButtonFace), colors.buttonFace);
    EXPECT_EQ(TranslateColor(colors, 0x80000005), 0u);
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
