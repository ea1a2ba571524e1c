#include "window/layout.h"

#include <gtest/gtest.h>

#include <array>
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

// The login window as its description has it, in tab order (the picture takes no tab stop and
// comes last); places in twips, inside Frame1 where marked.
struct Described {
    const char* name;
    ControlKind kind;
    const char* text;
    std::array<int, 4> place;
    bool inFrame;
};
constexpr Described kDescription[] = {
    {"Frame1", ControlKind::Frame, "Gatekey", {105, 135, 6255, 2775}, false},
    {"txtHost", ControlKind::TextBox, "", {120, 480, 1335, 285}, true},
    {"txtPort", ControlKind::TextBox, "80", {1560, 480, 495, 285}, true},
    {"txtUser", ControlKind::TextBox, "", {2160, 480, 1335, 285}, true},
    {"txtPass", ControlKind::TextBox, "", {3600, 480, 2535, 285}, true},
    {"cmdLogin", ControlKind::Button, "&Login", {4560, 2280, 1575, 375}, true},
    {"Label1(2)", ControlKind::Label, "Router Password", {3600, 240, 2535, 255}, true},
    {"Label1(1)", ControlKind::Label, "Port", {1560, 240, 495, 255}, true},
    {"Label1(0)", ControlKind::Label, "Host IP Address", {120, 240, 1335, 255}, true},
    {"Label1(6)", ControlKind::Label, "Router Username", {2160, 240, 1335, 255}, true},
    {"WB1", ControlKind::Browser, "", {0, 0, 255, 255}, false},
    {"ledRouter", ControlKind::Lamp, "Not connected to Router", {120, 1200, 3015, 495}, true},
    {"ledNet", ControlKind::Lamp, "Not connected to Internet", {3240, 1200, 2895, 495}, true},
    {"Check1", ControlKind::CheckBox, "Hide password?", {3600, 840, 2535, 255}, true},
    {"lblURL", ControlKind::Link, "www.corvane.example", {120, 2520, 2895, 255}, true},
    {"Image1", ControlKind::Picture, "", {120, 1800, 3015, 855}, true},
};

TEST(Controls, StandAsTheWindowsDescriptionSays) {
    EXPECT_STREQ(kFormCaption, "Corvane - Gatekey");
    EXPECT_EQ(kFormClientWidth, 6465);
    EXPECT_EQ(kFormClientHeight, 2985);
    ASSERT_EQ(std::size(kDescription), kControls.size());
    for (size_t tab = 0; tab < kControls.size(); ++tab) {
        const ControlSpec& got = kControls[tab];
        const Described& want = kDescription[tab];
        SCOPED_TRACE(want.name);
        EXPECT_STREQ(got.name, want.name) << "at tab index " << tab;
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_STREQ(got.text, want.text);
        const std::array<int, 4> place{got.place.left, got.place.top, got.place.width,
                                       got.place.height};
        EXPECT_EQ(place, want.place);
        EXPECT_EQ(got.inFrame, want.inFrame);
    }
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
