#include "led/color.h"

namespace gk {

Rgb TranslateColor(const ColorTranslator& translator, OleColor color) {
    Rgb rgb = 0;
    (void)translator.OleTranslateColor(color, &rgb);
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
