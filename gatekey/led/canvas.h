#pragma once
// The drawing surface the lamp paints on: a thin mirror of the GDI calls it makes. Each call
// acquires and releases its own pen or brush; nothing is kept between calls.
#include <cstdint>
#include <string>

#include "led/color.h"

namespace gk {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A picture shown on the lamp body; its natural size is kept in HIMETRIC units (0.01 mm).
class Picture {
  public:
    virtual ~Picture() = default;
    virtual int32_t WidthHimetric() const = 0;
    virtual int32_t HeightHimetric() const = 0;
};

inline constexpr uint32_t kDrawTextFlags = 0x15; // DT_CENTER | DT_VCENTER | DT_WORDBREAK
inline constexpr uint32_t kSourceCopy = 0xCC0020;
inline constexpr uint32_t kSourceAnd = 0x8800C6;

class Canvas {
  public:
    virtual ~Canvas() = default;
    // Wipes the whole surface in its own background colour.
    virtual void Clear() = 0;
    // A solid brush of `color`; FillRect leaves out the right column and bottom row.
    virtual void FillRect(const Rect& rect, Rgb color) = 0;
    // A solid brush of `color`; one pixel wide, on the innermost ring of `rect`.
    virtual void FrameRect(const Rect& rect, Rgb color) = 0;
    // A solid 1-pixel pen of `color`; the end point itself is not painted.
    virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb color) = 0;
    virtual void SetPixelV(int32_t x, int32_t y, Rgb color) = 0;
    // Height in pixels of `text` (UTF-8) in the surface's font.
    virtual int32_t TextHeight(const std::string& text) = 0;
    // `text` is UTF-8; the surface hands it to the system in its ANSI code page.
    virtual void DrawText(const std::string& text, const Rect& rect, uint32_t flags) = 0;
    virtual void SetTextColor(Rgb color) = 0;
    virtual void DrawPicture(const Picture& picture, int32_t x, int32_t y, int32_t width,
                             int32_t height, uint32_t rop) = 0;
    // Pixels per logical inch, for the HIMETRIC conversion of pictures.
    virtual int32_t PixelsPerInchX() const = 0;
    virtual int32_t PixelsPerInchY() const = 0;
};

} // namespace gk
