#include "window/layout.h"

#include <gtest/gtest.h>

#include <set>

namespace gk {
namespace {

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
    EXPECT_EQ(TwipsToPixels(kFormClientWidth, 96), 431);
    EXPECT_EQ(TwipsToPixels(kFormClientHeight, 96), 199);
    EXPECT_EQ(TwipsToPixels(105, 96), 7);
    EXPECT_EQ(TwipsToPixels(1335, 120), 111); // 111.25
    EXPECT_EQ(TwipsToPixels(255, 144), 26);   // 25.5 rounds up
    EXPECT_EQ(TwipsToPixels(0, 192), 0);
}

TEST(Controls, EveryPanelControlFitsInsideTheFrame) {
    const TwipsRect frame = kControls[0].place;
    std::set<int> ids;
    for (const ControlSpec& c : kControls) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.name;
        if (!c.inFrame) continue;
        EXPECT_LE(c.place.left + c.place.width, frame.width) << c.name;
        EXPECT_LE(c.place.top + c.place.height, frame.height) << c.name;
    }
}

} // namespace
} // namespace gk
