// The lamp's properties, its life-cycle events and its saved state.
#include <gtest/gtest.h>

#include <sstream>

#include "fakes/gatekey/canvas_fake.h"
#include "led/led.h"

namespace gk::test {
namespace {

struct LampFixture : ::testing::Test {
    FakeHost host{201, 33};
    Led led{host};
};

TEST_F(LampFixture, InitializeIsThirtyByThirtyAndRepaints) {
    led.UserControl_Initialize();
    EXPECT_EQ(led.LedWidth(), 30);
    EXPECT_EQ(led.LedHeight(), 30);
    EXPECT_EQ(host.repaints, 1);
    EXPECT_EQ(host.canvas.At(29, 29), host.canvas.At(0, 0)); // corners cut at 30 x 30
}

TEST_F(LampFixture, NewInstanceIsLightBlueAndNamedAfterItselfWithoutRepaint) {
    led.UserControl_Initialize();
    const int before = host.repaints;
    led.UserControl_InitProperties();
    EXPECT_EQ(led.FillColor(), 0xFFC0C0u);
    EXPECT_EQ(led.BackColor(), 0xFFC0C0u);
    EXPECT_TRUE(led.Enabled());
    EXPECT_EQ(led.Caption(), "ledRouter");
    EXPECT_EQ(host.repaints, before);
}

TEST_F(LampFixture, ResizeTakesTheClientSizeAndRepaints) {
    led.UserControl_Initialize();
    led.UserControl_Resize();
    EXPECT_EQ(led.LedWidth(), 201);
    EXPECT_EQ(led.LedHeight(), 33);
    EXPECT_EQ(host.repaints, 2);
    led.UserControl_Show();
    EXPECT_EQ(host.repaints, 3);
}

TEST_F(LampFixture, EveryWriteRepaintsEvenWithTheSameValue) {
    led.SetFillColor(0x00FF00);
    led.SetFillColor(0x00FF00);
    EXPECT_EQ(host.repaints, 2);
    led.SetCaption("Connected to Router");
    led.SetBackColor(kButtonFace);
    led.SetBackdrop(nullptr);
    EXPECT_EQ(host.repaints, 5);
    EXPECT_EQ(led.FillColor(), 0x00FF00u);
    EXPECT_EQ(led.Caption(), "Connected to Router");
    EXPECT_EQ(led.BackColor(), kButtonFace);
}

TEST_F(LampFixture, ColourThenCaptionShowsAsTwoRepaintsColourFirst) {
    led.UserControl_Resize();
    led.SetCaption("Not connected to Router");
    host.canvas = PixelCanvas(201, 33);
    led.SetFillColor(0x00FF00);
    ASSERT_EQ(host.canvas.texts.size(), 1u);
    EXPECT_EQ(host.canvas.texts[0].text, "Not connected to Router"); // old caption, new colour
    EXPECT_EQ(host.canvas.At(100, 16), 0x00FF00u);
    led.SetCaption("Connected to Router");
    ASSERT_EQ(host.canvas.texts.size(), 2u);
    EXPECT_EQ(host.canvas.texts[1].text, "Connected to Router");
}

TEST_F(LampFixture, EnabledOnlyTurnsInputOffWithoutRepaint) {
    led.SetEnabled(false);
    EXPECT_FALSE(led.Enabled());
    EXPECT_FALSE(host.windowEnabled);
    EXPECT_EQ(host.enableCalls, 1);
    EXPECT_EQ(host.repaints, 0);
    led.SetEnabled(true);
    EXPECT_TRUE(host.windowEnabled);
}

TEST_F(LampFixture, SavedLampsOfTheLoginWindowComeUpAsSaved) {
    const PropertyBag bag = ParseDescription("allo=True\r\n"
                                             "fdc=255\r\n"
                                             "btxt=Not connected to Internet\r\n"
                                             "bdc=0x8000000F\r\n");
    led.UserControl_ReadProperties(bag);
    EXPECT_TRUE(led.Enabled());
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(led.FillColor(), 255u);
    EXPECT_EQ(led.Caption(), "Not connected to Internet");
    EXPECT_EQ(led.BackColor(), kButtonFace);
    EXPECT_EQ(led.Backdrop(), nullptr);
    EXPECT_EQ(host.repaints, 0);
}

TEST_F(LampFixture, MissingKeysTakeTheirDefaults) {
    led.SetCaption("left over");
    led.UserControl_ReadProperties(PropertyBag());
    EXPECT_TRUE(led.Enabled());
    EXPECT_EQ(led.FillColor(), 0xFFC0C0u);
    EXPECT_EQ(led.BackColor(), 0xFFC0C0u);
    EXPECT_EQ(led.Caption(), "");
    EXPECT_EQ(led.Backdrop(), nullptr);
    EXPECT_TRUE(host.windowEnabled);

    led.UserControl_Resize();
    EXPECT_EQ(host.canvas.At(0, 0), 0xFFC0C0u); // light-blue corners
    EXPECT_EQ(host.canvas.At(100, 16), 0xFFC0C0u);
    EXPECT_EQ(host.canvas.texts.back().text, "");
}

TEST_F(LampFixture, KeysMatchInAnyCase) {
    for (const char* keys :
         {"ALLO FDC BTXT BDC BACIMG", "allo fdc btxt bdc bacimg", "Allo fDc bTxT BdC BacImg"}) {
        std::string allo, fdc, btxt, bdc, bacimg;
        std::istringstream(keys) >> allo >> fdc >> btxt >> bdc >> bacimg;
        auto picture = std::make_shared<FakePicture>(4, 4);
        PropertyBag bag;
        bag.Write(allo, false);
        bag.Write(fdc, int32_t{0x00FFFF});
        bag.Write(btxt, std::string("Lamp"));
        bag.Write(bdc, int32_t{0x123456});
        bag.Write(bacimg, picture);
        led.UserControl_ReadProperties(bag);
        EXPECT_FALSE(led.Enabled()) << keys;
        EXPECT_FALSE(host.windowEnabled) << keys;
        EXPECT_EQ(led.FillColor(), 0x00FFFFu) << keys;
        EXPECT_EQ(led.Caption(), "Lamp") << keys;
        EXPECT_EQ(led.BackColor(), 0x123456u) << keys;
        EXPECT_EQ(led.Backdrop(), picture) << keys;
    }
}

TEST_F(LampFixture, UnconvertibleValuesTakeTheirDefaults) {
    PropertyBag bag;
    bag.Write("allo", std::string("perhaps"));
    bag.Write("fdc", std::string("red"));
    bag.Write("bdc", std::string("0x1FFFFFFFF")); // more than 32 bits
    bag.Write("btxt", std::make_shared<FakePicture>(1, 1));
    bag.Write("bacimg", std::string("no such picture"));
    led.UserControl_ReadProperties(bag);
    EXPECT_TRUE(led.Enabled());
    EXPECT_EQ(led.FillColor(), 0xFFC0C0u);
    EXPECT_EQ(led.BackColor(), 0xFFC0C0u);
    EXPECT_EQ(led.Caption(), "");
    EXPECT_EQ(led.Backdrop(), nullptr);
}

TEST_F(LampFixture, ValuesOfAnotherKindConvertLikeTheirText) {
    PropertyBag bag;
    bag.Write("allo", int32_t{0});
    bag.Write("fdc", std::string("&H00FF00"));
    bag.Write("btxt", int32_t{42});
    bag.Write("bdc", std::string("-2147483633")); // 0x8000000F as a signed number
    led.UserControl_ReadProperties(bag);
    EXPECT_FALSE(led.Enabled());
    EXPECT_EQ(led.FillColor(), 0x00FF00u);
    EXPECT_EQ(led.Caption(), "42");
    EXPECT_EQ(led.BackColor(), kButtonFace);
}

TEST_F(LampFixture, WriteSavesEveryKeyInOrderAndLeavesOutAMissingPicture) {
    led.UserControl_ReadProperties(ParseDescription("fdc=255\nbtxt=Not connected to Router\n"
                                                    "bdc=2147483663\n"));
    PropertyBag saved;
    saved.Write("BACIMG", std::make_shared<FakePicture>(1, 1)); // from an earlier save
    led.UserControl_WriteProperties(saved);
    ASSERT_EQ(saved.Entries().size(), 4u);
    EXPECT_EQ(saved.Entries()[0].first, "ALLO");
    EXPECT_EQ(saved.Entries()[1].first, "FDC");
    EXPECT_EQ(saved.Entries()[2].first, "BTXT");
    EXPECT_EQ(saved.Entries()[3].first, "BDC");
    EXPECT_EQ(FormatDescription(saved), "ALLO=True\r\n"
                                        "FDC=255\r\n"
                                        "BTXT=Not connected to Router\r\n"
                                        "BDC=-2147483633\r\n");

    auto picture = std::make_shared<FakePicture>(2, 2);
    led.SetBackdrop(picture);
    PropertyBag withPicture;
    led.UserControl_WriteProperties(withPicture);
    ASSERT_EQ(withPicture.Entries().size(), 5u);
    EXPECT_EQ(withPicture.Entries()[0].first, "BACIMG");
    EXPECT_EQ(withPicture.ReadPicture("bacimg"), picture);
}

TEST_F(LampFixture, WhatIsWrittenReadsBackTheSame) {
    led.SetFillColor(0x00FFFF);
    led.SetBackColor(kButtonFace);
    led.SetCaption("  spaced  ");
    led.SetEnabled(false);
    PropertyBag saved;
    led.UserControl_WriteProperties(saved);

    FakeHost otherHost(10, 10);
    Led other(otherHost);
    other.UserControl_ReadProperties(ParseDescription(FormatDescription(saved)));
    EXPECT_EQ(other.FillColor(), 0x00FFFFu);
    EXPECT_EQ(other.BackColor(), kButtonFace);
    EXPECT_EQ(other.Caption(), "  spaced  ");
    EXPECT_FALSE(other.Enabled());
}

} // namespace
} // namespace gk::test
