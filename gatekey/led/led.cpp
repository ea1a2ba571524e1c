#include "led/led.h"

#include <utility>

namespace gk {

void Led::SetFillColor(OleColor color) {
    fillColor_ = color;
    Redraw();
}

void Led::SetBackColor(OleColor color) {
    backColor_ = color;
    Redraw();
}

void Led::SetCaption(const std::string& text) {
    caption_ = text;
    Redraw();
}

void Led::SetBackdrop(PicturePtr picture) {
    backdrop_ = std::move(picture);
    Redraw();
}

void Led::SetEnabled(bool enabled) {
    enabled_ = enabled;
    host_.EnableWindow(enabled);
}

void Led::UserControl_Initialize() {
    ledHeight_ = 30;
    ledWidth_ = 30;
    Redraw();
}

void Led::UserControl_InitProperties() {
    fillColor_ = kLightBlue;
    backColor_ = kLightBlue;
    enabled_ = true;
    caption_ = host_.AmbientDisplayName();
}

void Led::UserControl_ReadProperties(const PropertyBag& bag) {
    backdrop_ = bag.ReadPicture(kKeyBackdrop);
    enabled_ = bag.ReadBool(kKeyEnabled).value_or(true);
    fillColor_ = static_cast<OleColor>(
        bag.ReadInt32(kKeyFillColor).value_or(static_cast<int32_t>(kLightBlue)));
    caption_ = bag.ReadString(kKeyCaption).value_or(std::string());
    backColor_ = static_cast<OleColor>(
        bag.ReadInt32(kKeyBackColor).value_or(static_cast<int32_t>(kLightBlue)));
    host_.EnableWindow(enabled_);
}

void Led::UserControl_WriteProperties(PropertyBag& bag) const {
    if (backdrop_) {
        bag.Write(kKeyBackdrop, backdrop_);
    } else {
        bag.Remove(kKeyBackdrop); // a description saved over an older one drops its picture
    }
    bag.Write(kKeyEnabled, enabled_);
    bag.Write(kKeyFillColor, static_cast<int32_t>(fillColor_));
    bag.Write(kKeyCaption, caption_);
    bag.Write(kKeyBackColor, static_cast<int32_t>(backColor_));
}

void Led::UserControl_Resize() {
    clientRect_ = host_.GetClientRect();
    ledHeight_ = clientRect_.bottom;
    ledWidth_ = clientRect_.right;
    Redraw();
}

void Led::UserControl_Show() {
    Redraw();
}

void Led::Redraw() {
    if (const auto canvas = host_.OpenCanvas()) Redraw(*canvas);
}

void Led::ShowCaption(const std::string& txt) {
    if (const auto canvas = host_.OpenCanvas()) ShowCaption(*canvas, txt);
}

void Led::CentTxt(const std::string& txt, int16_t offset) {
    if (const auto canvas = host_.OpenCanvas()) CentTxt(*canvas, txt, offset);
}

void Led::CalcImgSz(int16_t offset) {
    if (const auto canvas = host_.OpenCanvas()) CalcImgSz(*canvas, offset);
}

void Led::DrawImage(bool state) {
    if (const auto canvas = host_.OpenCanvas()) DrawImage(*canvas, state);
}

void Led::Chamfer() {
    if (const auto canvas = host_.OpenCanvas()) Chamfer(*canvas);
}

} // namespace gk
