#pragma once
// The login window's controls: kind, first text, place in twips and tab order.
#include <array>
#include <cstdint>

#include "common/twips.h"

namespace gk {

enum class ControlKind { Frame, Label, TextBox, Button, CheckBox, Lamp, Picture, Link, Browser };

// Child-window identifiers; WM_COMMAND reports them.
enum ControlId : int {
    kFrame1 = 100,
    kTxtHost,
    kTxtPort,
    kTxtUser,
    kTxtPass,
    kCmdLogin,
    kLabelPassword,
    kLabelPort,
    kLabelHost,
    kLabelUser,
    kWB1,
    kLedRouter,
    kLedNet,
    kCheck1,
    kLblUrl,
    kImage1,
};

using corvane::TwipsRect;
using corvane::TwipsToPixels;

struct ControlSpec {
    int id;
    const char* name;
    ControlKind kind;
    const char* text;
    TwipsRect place; // relative to Frame1 when inFrame, else to the window's client area
    bool inFrame;
};

inline constexpr const char* kFormCaption = "Corvane - Gatekey";
inline constexpr const char* kMessageTitle = "Corvane Gatekey";
inline constexpr const char* kVendorSite = "www.corvane.example";
inline constexpr const char* kHidePasswordTip = "Tick to hide the password";
inline constexpr int kFormClientWidth = 6465;
inline constexpr int kFormClientHeight = 2985;
inline constexpr uint32_t kLinkColor = 0x800000; // RGB 0, 0, 128

// In tab order; the window creates them in this order, which makes it the tab order.
inline constexpr std::array<ControlSpec, 16> kControls{{
    {kFrame1, "Frame1", ControlKind::Frame, "Gatekey", {105, 135, 6255, 2775}, false},
    {kTxtHost, "txtHost", ControlKind::TextBox, "", {120, 480, 1335, 285}, true},
    {kTxtPort, "txtPort", ControlKind::TextBox, "80", {1560, 480, 495, 285}, true},
    {kTxtUser, "txtUser", ControlKind::TextBox, "", {2160, 480, 1335, 285}, true},
    {kTxtPass, "txtPass", ControlKind::TextBox, "", {3600, 480, 2535, 285}, true},
    {kCmdLogin, "cmdLogin", ControlKind::Button, "&Login", {4560, 2280, 1575, 375}, true},
    {kLabelPassword,
     "Label1(2)",
     ControlKind::Label,
     "Router Password",
     {3600, 240, 2535, 255},
     true},
    {kLabelPort, "Label1(1)", ControlKind::Label, "Port", {1560, 240, 495, 255}, true},
    {kLabelHost, "Label1(0)", ControlKind::Label, "Host IP Address", {120, 240, 1335, 255}, true},
    {kLabelUser, "Label1(6)", ControlKind::Label, "Router Username", {2160, 240, 1335, 255}, true},
    {kWB1, "WB1", ControlKind::Browser, "", {0, 0, 255, 255}, false},
    {kLedRouter,
     "ledRouter",
     ControlKind::Lamp,
     "Not connected to Router",
     {120, 1200, 3015, 495},
     true},
    {kLedNet,
     "ledNet",
     ControlKind::Lamp,
     "Not connected to Internet",
     {3240, 1200, 2895, 495},
     true},
    {kCheck1, "Check1", ControlKind::CheckBox, "Hide password?", {3600, 840, 2535, 255}, true},
    {kLblUrl, "lblURL", ControlKind::Link, kVendorSite, {120, 2520, 2895, 255}, true},
    {kImage1, "Image1", ControlKind::Picture, "", {120, 1800, 3015, 855}, true},
}};

} // namespace gk
