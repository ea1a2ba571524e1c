#include "window/form1_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ww {
namespace {

// The setup window as it is described: places in twips (the two options inside Frame1).
struct Described {
    const char* name;
    ControlKind kind;
    const char* text;
    TwipsRect place;
    int tabIndex;
    const char* toolTip;
};

const Described kDescription[] = {
    {"Label2", ControlKind::Label, "Network Adapters:", {120, 120, 6975, 255}, 6, nullptr},
    {"cboNIC", ControlKind::DropDownList, "", {120, 360, 6975, 315}, 0, nullptr},
    {"chkConnected",
     ControlKind::CheckBox,
     "Please check that the adapter you have selected is connected to the router. When you have "
     "done so, tick this box.",
     {120, 840, 5295, 615},
     1,
     "Tick when the network adapter is connected to the router"},
    {"cmdWrite", ControlKind::Button, "Setup Network", {5520, 840, 1575, 495}, 2, nullptr},
    {"cmdToggle", ControlKind::Button, ">>", {6720, 1440, 375, 255}, 3, "Show Options"},
    {"Frame1", ControlKind::Frame, "Options", {120, 1920, 6975, 615}, 7, nullptr},
    {"chkGates",
     ControlKind::CheckBox,
     "Clear Gateways",
     {120, 240, 1455, 255},
     4,
     "Force Gateways to be cleared"},
    {"chkIEAuto",
     ControlKind::CheckBox,
     "Set IE to Auto Detect",
     {1800, 240, 1935, 255},
     5,
     "Set Internet Explorer to Automatically Detect Settings"},
};

std::string Text(const char* text) {
    return text != nullptr ? text : "(none)";
}

std::string Place(const TwipsRect& r) {
    return std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) +
           ", " + std::to_string(r.height);
}

const ControlSpec* Find(const std::string& name) {
    for (const ControlSpec& c : kControls)
        if (name == c.name) return &c;
    return nullptr;
}

TEST(Form1Layout, EveryControlIsAsDescribed) {
    EXPECT_EQ(std::string(kFormCaption), "Corvane Wirewise");
    EXPECT_EQ(kFormClientWidth, 7185);
    EXPECT_EQ(kFormClientHeight, 1845);
    ASSERT_EQ(kControls.size(), std::size(kDescription));
    for (const Described& d : kDescription) {
        SCOPED_TRACE(d.name);
        const ControlSpec* c = Find(d.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(static_cast<int>(c->kind), static_cast<int>(d.kind));
        EXPECT_EQ(Text(c->text), Text(d.text));
        EXPECT_EQ(Place(c->place), Place(d.place));
        EXPECT_EQ(c->inFrame,
                  d.name == std::string("chkGates") || d.name == std::string("chkIEAuto"));
        EXPECT_EQ(c->tabIndex, d.tabIndex);
        EXPECT_EQ(Text(c->toolTip), Text(d.toolTip));
    }
}

// The window creates the controls in table order, which is the order the Tab key follows; and
// automation finds each control by its own identifier.
TEST(Form1Layout, CreationOrderIsTheTabOrderAndIdentifiersAreUnique) {
    std::set<int> ids, tabIndexes;
    int lastFocusable = -1;
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ids.insert(c.id).second);
        EXPECT_TRUE(tabIndexes.insert(c.tabIndex).second);
        if (c.kind == ControlKind::Label || c.kind == ControlKind::Frame) continue;
        EXPECT_GT(c.tabIndex, lastFocusable);
        lastFocusable = c.tabIndex;
    }
    // Only the controls shown from the start are tab stops from the start.
    for (const char* name : {"cboNIC", "chkConnected", "cmdWrite", "cmdToggle"})
        EXPECT_TRUE(Find(name)->flags & kTabStop) << name;
    for (const char* name : {"Label2", "Frame1", "chkGates", "chkIEAuto"})
        EXPECT_FALSE(Find(name)->flags & kTabStop) << name;
    EXPECT_TRUE(Find("cmdWrite")->flags & kDisabled);
}

// The arrow keys move the focus within a group and pass over tab stops: the options, hidden at
// first, form a group of their own that Frame1 begins, and every control above lies outside it.
TEST(Form1Layout, TheOptionsAreAGroupOfTheirOwn) {
    int group = 0;
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.name);
        if (c.flags & kGroup) ++group;
        const bool option = c.inFrame || c.kind == ControlKind::Frame;
        EXPECT_EQ(group, option ? 1 : 0);
    }
}

// The first view shows everything but the options: Frame1 and the two boxes lie below it, and
// the boxes inside the frame.
TEST(Form1Layout, OnlyTheOptionsLieBelowTheFirstView) {
    const ControlSpec& frame = *Find("Frame1");
    EXPECT_EQ(Place(ClientPlace(*Find("chkGates"))), "240, 2160, 1455, 255");
    EXPECT_EQ(Place(ClientPlace(frame)), Place(frame.place));
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.name);
        const TwipsRect r = ClientPlace(c);
        EXPECT_LE(r.left + r.width, kFormClientWidth);
        const bool option = c.inFrame || c.kind == ControlKind::Frame;
        EXPECT_EQ(r.top >= kFormClientHeight, option);
        if (!option) {
            EXPECT_LE(r.top + r.height, kFormClientHeight);
        }
        if (c.inFrame) {
            EXPECT_LE(c.place.left + c.place.width, frame.place.width);
            EXPECT_LE(c.place.top + c.place.height, frame.place.height);
        }
    }
}

} // namespace
} // namespace ww
