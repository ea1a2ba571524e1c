#include "led/color.h"

namespace gk {

int32_t OleTranslateColor(const SystemColors& system, OleColor color, Rgb* rgb) {
    const uint32_t low = color & 0x00FFFFFFu;
    Rgb out = 0;
    switch (color >> 24) {
    case 0x00: // an RGB value
    case 0x02: // a palette-relative RGB value
        out = color;
        break;
    case 0x01: // a palette index: 16 bits
        if ((low >> 16) != 0) return kEInvalidArg;
        out = color;
        break;
    case 0x80: // a system colour index
        if (low > kLastSystemColor) return kEInvalidArg;
        out = system.GetSysColor(static_cast<int>(low));
        break;
    default:
        return kEInvalidArg;
    }
    if (rgb != nullptr) *rgb = out;
    return kSOk;
}

Rgb TranslateColor(const SystemColors& system, OleColor color) {
    Rgb rgb = 0;
    (void)OleTranslateColor(system, color, &rgb);
    return rgb;
}

Rgb ShadeColor(Rgb color, int amount) {
    int channels[3] = {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                       static_cast<int>((color >> 16) & 0xFF)};
    channels[0] += amount;
    channels[1] += amount;
    channels[2] += (amount * channels[2]) / 192; // C++ division truncates toward zero
    Rgb result = 0;
    for (int i = 0; i < 3; ++i) {
        int c = channels[i];
        if (amount > 0 && c > 255) c = 255;
        if (amount < 0 && c < 0) c = 0;
        result |= static_cast<Rgb>(c) << (8 * i);
    }
    return result;
}

} // namespace gk
