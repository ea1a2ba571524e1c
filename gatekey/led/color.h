#pragma once
// Colours of the lamp: OLE colours as the window stores them, plain RGB as GDI takes them.
#include <cstdint>

#include "led/lamp.h"

namespace gk {

// 0x00BBGGRR, red in the low byte.
using Rgb = uint32_t;

inline constexpr OleColor kButtonFace = 0x8000000F;
inline constexpr OleColor kLightBlue = 0xFFC0C0; // RGB 192, 192, 255

// The system's colours, behind a seam so tests can change them.
class SystemColors {
  public:
    // Mirrors GetSysColor: the colour of a COLOR_* index.
    virtual Rgb GetSysColor(int index) const = 0;

  protected:
    ~SystemColors() = default;
};

// HRESULT values of the translation.
inline constexpr int32_t kSOk = 0;
inline constexpr int32_t kEInvalidArg = static_cast<int32_t>(0x80070057u);

// The highest system colour index (COLOR_MENUBAR).
inline constexpr uint32_t kLastSystemColor = 30;

// OleTranslateColor(color, no palette, rgb), done here because the oleaut32 of the first
// Windows 98 and of NT 4 need not export it: the high byte says what the rest holds.
//   0x00bbggrr  an RGB value, as it is
//   0x800000xx  the system colour xx (GetSysColor); E_INVALIDARG for an index the system lacks
//   0x0100iiii  the palette index iiii, as it is (GDI's PALETTEINDEX)
//   0x02bbggrr  a palette-relative RGB value, as it is (GDI's PALETTERGB)
// Anything else is E_INVALIDARG. On failure `rgb` is left as it was; it may be null, when only
// the status is wanted.
int32_t OleTranslateColor(const SystemColors& system, OleColor color, Rgb* rgb);

// The output starts at 0 and the status is not examined: a colour that cannot be translated
// paints black rather than stopping the repaint.
Rgb TranslateColor(const SystemColors& system, OleColor color);

// Lightens (amount > 0) or darkens (amount < 0) a plain RGB value. Red and green move by the full
// amount, blue in proportion to its own value, so blue-heavy colours keep their hue.
Rgb ShadeColor(Rgb color, int amount);

} // namespace gk
