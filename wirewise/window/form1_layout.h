#pragma once
// The setup window's controls: kind, first text, place in twips, tab index and tool tip.
#include <array>

#include "common/twips.h"

namespace ww {

// Child-window identifiers. WM_COMMAND reports them, and automation finds the controls by them.
namespace ids {
inline constexpr int kLabel2 = 101;
inline constexpr int kCboNic = 102;
inline constexpr int kChkConnected = 103;
inline constexpr int kCmdWrite = 104;
inline constexpr int kCmdToggle = 105;
inline constexpr int kFrame1 = 106;
inline constexpr int kChkGates = 107;
inline constexpr int kChkIEAuto = 108;
} // namespace ids

enum class ControlKind { Label, DropDownList, CheckBox, Button, Frame };

// What a control is besides its kind.
enum ControlFlags : unsigned {
    kPlain = 0,
    kTabStop = 1,   // the Tab key stops on it from the start
    kDisabled = 2,  // created disabled
    kMultiLine = 4, // its text wraps
    // It begins a group, which the controls created after it join up to the next such one. The
    // arrow keys move the focus within a group whether or not a control is a tab stop.
    kGroup = 8,
};

using corvane::TwipsRect;

struct ControlSpec {
    int id;
    const char* name;
    ControlKind kind;
    const char* text;
    unsigned flags;
    TwipsRect place; // inside Frame1 when inFrame, else inside the window's client area
    bool inFrame;
    int tabIndex;
    const char* toolTip; // null: none
};

inline constexpr const char* kFormCaption = "Corvane Wirewise";
// Only the upper part shows at first: Frame1 lies below it until the options are shown.
inline constexpr int kFormClientWidth = 7185;
inline constexpr int kFormClientHeight = 1845;
// The open drop-down list: the rows it shows before it scrolls, and the height of one.
inline constexpr int kDropDownRows = 8;
inline constexpr int kDropDownRowHeight = 195;

// In the order the window creates them, which makes the keyboard's order: the controls that take
// the focus come in tab index order. The two options are tab stops only while they are shown
// (Form1 turns them on and off), and Frame1 begins a group of their own, so that no arrow key
// moves the focus into them from the controls above.
// clang-format off
inline constexpr std::array<ControlSpec, 8> kControls{{
    // id, name, kind, text,
    //  flags, place, inFrame, tabIndex, tool tip
    {ids::kLabel2, "Label2", ControlKind::Label, "Network Adapters:",
     kPlain, {120, 120, 6975, 255}, false, 6, nullptr},
    {ids::kCboNic, "cboNIC", ControlKind::DropDownList, "",
     kTabStop, {120, 360, 6975, 315}, false, 0, nullptr},
    {ids::kChkConnected, "chkConnected", ControlKind::CheckBox,
     "Please check that the adapter you have selected is connected to the router. When you have "
     "done so, tick this box.",
     kTabStop | kMultiLine, {120, 840, 5295, 615}, false, 1,
     "Tick when the network adapter is connected to the router"},
    {ids::kCmdWrite, "cmdWrite", ControlKind::Button, "Setup Network",
     kTabStop | kDisabled, {5520, 840, 1575, 495}, false, 2, nullptr},
    {ids::kCmdToggle, "cmdToggle", ControlKind::Button, ">>",
     kTabStop, {6720, 1440, 375, 255}, false, 3, "Show Options"},
    {ids::kFrame1, "Frame1", ControlKind::Frame, "Options",
     kGroup, {120, 1920, 6975, 615}, false, 7, nullptr},
    {ids::kChkGates, "chkGates", ControlKind::CheckBox, "Clear Gateways",
     kPlain, {120, 240, 1455, 255}, true, 4, "Force Gateways to be cleared"},
    {ids::kChkIEAuto, "chkIEAuto", ControlKind::CheckBox, "Set IE to Auto Detect",
     kPlain, {1800, 240, 1935, 255}, true, 5,
     "Set Internet Explorer to Automatically Detect Settings"},
}};
// clang-format on

// A control's place inside the window's client area.
constexpr TwipsRect ClientPlace(const ControlSpec& control) {
    TwipsRect place = control.place;
    if (!control.inFrame) return place;
    for (const ControlSpec& frame : kControls) {
        if (frame.kind != ControlKind::Frame) continue;
        place.left += frame.place.left;
        place.top += frame.place.top;
        break;
    }
    return place;
}

} // namespace ww
