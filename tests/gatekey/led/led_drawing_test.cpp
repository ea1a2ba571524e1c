// The lamp's picture, pixel by pixel, on a surface that follows GDI's rules.
#include <gtest/gtest.h>

#include "fakes/gatekey/canvas_fake.h"
#include "led/led.h"

namespace gk::test {
namespace {

constexpr Rgb kRed = 0x0000FF;

// The login window's lamp: 201 x 33 pixels, red, corners in the button-face colour.
struct RedLamp : ::testing::Test {
    FakeHost host{201, 33};
    Led led{host};
    void SetUp() override {
        led.UserControl_Initialize();
        PropertyBag bag;
        bag.Write("fdc", std::string("255"));
        bag.Write("bdc", std::string("0x8000000F"));
        bag.Write("btxt", std::string("Not connected to Router"));
        led.UserControl_ReadProperties(bag);
        led.UserControl_Resize();
    }
    Rgb At(int32_t x, int32_t y) const { return host.canvas.At(x, y); }
};

TEST_F(RedLamp, CornersBevelAndFrameLandOnTheirPixels) {
    const Rgb face = host.colors.buttonFace;
    const Rgb faceDark = ShadeColor(face, -170);
    EXPECT_EQ(At(0, 0), face);
    EXPECT_EQ(At(1, 1), faceDark);
    EXPECT_EQ(At(1, 2), 0x0096FFu); // red lightened by 150: the left outer step wins the corner
    EXPECT_EQ(At(199, 31), faceDark);
}

TEST_F(RedLamp, EveryRingHasItsColour) {
    const Rgb face = host.colors.buttonFace;
    const struct {
        int32_t x, y;
        Rgb expected;
    } cases[] = {
        {100, 0, kFrameColor},             // top frame
        {100, 32, kFrameColor},            // bottom frame
        {0, 16, kFrameColor},              // left frame
        {200, 16, kFrameColor},            // right frame
        {100, 1, ShadeColor(kRed, 150)},   // top outer
        {100, 2, ShadeColor(kRed, 100)},   // top middle
        {100, 3, ShadeColor(kRed, 50)},    // top inner
        {1, 16, ShadeColor(kRed, 150)},    // left outer
        {2, 16, ShadeColor(kRed, 100)},    // left middle
        {3, 16, ShadeColor(kRed, 50)},     // left inner
        {100, 31, ShadeColor(kRed, -150)}, // bottom outer
        {100, 30, ShadeColor(kRed, -100)}, // bottom middle
        {100, 29, ShadeColor(kRed, -50)},  // bottom inner
        {199, 16, ShadeColor(kRed, -150)}, // right outer
        {198, 16, ShadeColor(kRed, -100)}, // right middle
        {197, 16, ShadeColor(kRed, -50)},  // right inner
        {100, 16, kRed},                   // body
        {4, 4, kRed},                      // body just inside the top-left steps
        {196, 28, kRed},                   // and the bottom-right ones
        {0, 31, face},                     // bottom-left corner
        {1, 32, face},
        {1, 31, ShadeColor(face, -170)},   // bottom-left inner corner
        {199, 0, face},                    // top-right corner
        {200, 32, face},                   // bottom-right corner
        {199, 1, ShadeColor(face, -170)},  // top-right inner corner
        {199, 2, ShadeColor(kRed, -150)},  // right outer starts at row 2
        {2, 31, ShadeColor(kRed, -150)},   // bottom outer starts at column 2
        {198, 31, ShadeColor(kRed, -150)}, // and ends before the right outer step's column
        {199, 30, ShadeColor(kRed, -150)}, // right outer ends above the bottom outer row
        {1, 29, ShadeColor(kRed, 150)},    // left outer ends where the bottom steps begin
        {2, 28, ShadeColor(kRed, 100)},    // left middle stops at H-3
        {3, 28, ShadeColor(kRed, 50)},     // left inner stops at H-5
        {3, 29, ShadeColor(kRed, -50)},    // so the bottom inner step shows below it
        {2, 29, ShadeColor(kRed, 100)},    // while the left middle step covers it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(At(c.x, c.y), c.expected) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST_F(RedLamp, NoPixelIsLeftFromTheClearedSurface) {
    for (int32_t y = 0; y < 33; ++y)
        for (int32_t x = 0; x < 201; ++x)
            ASSERT_NE(At(x, y), kClearColor) << x << "," << y;
}

TEST_F(RedLamp, OneRepaintUsesTwoBrushesTwelvePensAndSixteenPixels) {
    host.canvas = PixelCanvas(201, 33);
    led.SetFillColor(kRed);
    EXPECT_EQ(host.canvas.clears, 1);
    EXPECT_EQ(host.canvas.brushes, 2);
    EXPECT_EQ(host.canvas.pens, 12);
    EXPECT_EQ(host.canvas.pixelsSet, 16);
    EXPECT_TRUE(host.canvas.pictures.empty()); // no picture, no picture call at all
}

TEST_F(RedLamp, CaptionIsCentredOnTheMiddleOneLineHigh) {
    ASSERT_FALSE(host.canvas.texts.empty());
    const TextCall& text = host.canvas.texts.back();
    EXPECT_EQ(text.text, "Not connected to Router");
    EXPECT_EQ(text.flags, 0x15u);
    // sh2 = round(16.5) = 16 (halves to even); 16 -/+ 6.5 rounds to 10 and 22.
    EXPECT_EQ(text.rect, (Rect{1, 10, 199, 22}));
    EXPECT_EQ(led.TextRect(), text.rect);
    EXPECT_EQ(host.canvas.textColor, 0u);
}

TEST_F(RedLamp, CornersFollowTheSystemColourAtTheNextRepaint) {
    host.colors.buttonFace = 0x00336699;
    EXPECT_NE(At(0, 0), 0x00336699u); // nothing repaints by itself
    led.SetCaption("Connected to Router");
    EXPECT_EQ(At(0, 0), 0x00336699u);
    EXPECT_EQ(At(200, 32), 0x00336699u);
    EXPECT_EQ(At(1, 1), ShadeColor(0x00336699, -170));
}

TEST_F(RedLamp, AnUntranslatableColourPaintsBlack) {
    led.SetFillColor(0x80000099); // no such system colour
    EXPECT_EQ(led.FillRgb(), 0u);
    EXPECT_EQ(At(100, 16), 0u);
    led.SetBackColor(0x40000005); // no OLE colour has the high byte 0x40
    EXPECT_EQ(At(0, 0), 0u);
}

TEST(LedDrawing, PictureIsPaintedCentredAtItsNaturalSizeUnderTheFrame) {
    FakeHost host(201, 33);
    Led led(host);
    led.UserControl_Resize();
    auto picture = std::make_shared<FakePicture>(16, 16);
    led.SetBackdrop(picture);
    ASSERT_EQ(host.canvas.pictures.size(), 1u);
    const PictureCall& call = host.canvas.pictures[0];
    EXPECT_EQ(call.picture, picture.get());
    // w2 = round(100.5) = 100, h2 = round(16.5) = 16.
    EXPECT_EQ(call.x, 92);
    EXPECT_EQ(call.y, 8);
    EXPECT_EQ(call.width, 16);
    EXPECT_EQ(call.height, 16);
    EXPECT_EQ(call.rop, kSourceCopy);
    EXPECT_EQ(led.ImgLeft(), 92);
    EXPECT_EQ(led.ImgTop(), 8);

    led.DrawImage(true);
    ASSERT_EQ(host.canvas.pictures.size(), 2u);
    EXPECT_EQ(host.canvas.pictures[1].rop, kSourceAnd);
}

TEST(LedDrawing, OddPictureSizesRoundHalvesToEven) {
    FakeHost host(30, 30);
    Led led(host);
    led.UserControl_Initialize();
    led.SetBackdrop(std::make_shared<FakePicture>(5, 3));
    ASSERT_FALSE(host.canvas.pictures.empty());
    // 15 - 2.5 = 12.5 -> 12; 15 - 1.5 = 13.5 -> 14.
    EXPECT_EQ(host.canvas.pictures.back().x, 12);
    EXPECT_EQ(host.canvas.pictures.back().y, 14);
}

TEST(LedDrawing, TwoLineCaptionBoxIsTwoLinesHigh) {
    FakeHost host(201, 33);
    Led led(host);
    led.UserControl_Resize();
    led.SetCaption("one\r\ntwo");
    // th = 26: 16 - 13 = 3 and 16 + 13 = 29.
    EXPECT_EQ(led.TextRect(), (Rect{1, 3, 199, 29}));
}

TEST(LedDrawing, TinyLampsPaintWithoutStrayingOffTheSurface) {
    for (const auto& [w, h] : {std::pair{0, 0}, {1, 1}, {3, 2}, {5, 5}}) {
        FakeHost host(w, h);
        Led led(host);
        led.UserControl_Resize();
        led.SetCaption("x");
        EXPECT_EQ(led.LedWidth(), w);
        EXPECT_EQ(led.LedHeight(), h);
    }
}

} // namespace
} // namespace gk::test
