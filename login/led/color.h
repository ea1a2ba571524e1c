#pragma once
// Colours of the lamp: OLE colours as the window stores them, plain RGB as GDI takes them.
#include <cstdint>

#include "led/lamp.h"

namespace gk {

// 0x00BBGGRR, red in the low byte.
using Rgb = uint32_t;

inline constexpr OleColor kButtonFace = 0x8000000F;
inline constexpr OleColor kLightBlue = 0xFFC0C0; // RGB 192, 192, 255

// The system's OLE colour translation, behind a seam so tests can change the system colours.
class ColorTranslator {
  public:
    // Mirrors OleTranslateColor(color, no palette, rgb): a status (0 on success) and the output.
    virtual long OleTranslateColor(OleColor color, Rgb* rgb) const = 0;

  protected:
    ~ColorTranslator() = default;
};

// The output starts at 0 and the status is not examined: a colour that cannot be translated
// paints black rather than stopping the repaint.
Rgb TranslateColor(const ColorTranslator& translator, OleColor color);

// Lightens (amount > 0) or darkens (amount < 0) a plain RGB value. Red and green move by the full
// amount, blue in proportion to its own value, so blue-heavy colours keep their hue.
Rgb ShadeColor(Rgb color, int amount);

} // namespace gk
