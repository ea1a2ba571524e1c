#pragma once
// The lamp's drawing surface on a device context, its pictures, and the screen's resolution and
// font that the lamp and the login panel share.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/win32/owners.h"
#include "led/canvas.h"

namespace gk {

using corvane::GdiObject;
using corvane::MemoryDc;
using corvane::PaintDc;
using corvane::SavedDcState;
using corvane::Selection;
using corvane::WindowDc;

// The screen's dots per inch along LOGPIXELSX or LOGPIXELSY; 96 where it cannot be read.
int ScreenDpi(int index = LOGPIXELSY);

// "MS Sans Serif" 8.25 pt at `dpi`.
GdiObject SansSerifFont(int dpi, bool bold);

// A bitmap picture for the lamp body.
class BitmapPicture final : public Picture {
  public:
    // Takes ownership of `bitmap`; its natural size is its pixel size at the screen's resolution.
    explicit BitmapPicture(HBITMAP bitmap);
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    int32_t WidthHimetric() const override { return widthHimetric_; }
    int32_t HeightHimetric() const override { return heightHimetric_; }
    int32_t WidthPixels() const { return width_; }
    int32_t HeightPixels() const { return height_; }

  private:
    GdiObject bitmap_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t widthHimetric_ = 0;
    int32_t heightHimetric_ = 0;
};

// A BITMAP resource of `instance` by name ("#n" for a numeric one); null when there is none.
std::shared_ptr<Picture> LoadBitmapPicture(HINSTANCE instance, const std::string& reference);

// Paints on `dc` (a paint DC, a window DC or a memory DC) in `font` over a transparent background;
// the DC's own settings are restored when the canvas goes. `clear` is the surface's background.
class GdiCanvas final : public Canvas {
  public:
    GdiCanvas(HDC dc, const RECT& surface, HFONT font, HBRUSH clear);
    // The same on a DC of `window` that the canvas fetches and releases itself.
    GdiCanvas(HWND window, HFONT font, HBRUSH clear);

    void Clear() override;
    void FillRect(const Rect& rect, Rgb color) override;
    void FrameRect(const Rect& rect, Rgb color) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb color) override;
    void SetPixelV(int32_t x, int32_t y, Rgb color) override;
    int32_t TextHeight(const std::string& text) override;
    void DrawText(const std::string& text, const Rect& rect, uint32_t flags) override;
    void SetTextColor(Rgb color) override;
    void DrawPicture(const Picture& picture, int32_t x, int32_t y, int32_t width, int32_t height,
                     uint32_t rop) override;
    int32_t PixelsPerInchX() const override;
    int32_t PixelsPerInchY() const override;

  private:
    std::optional<WindowDc> ownedDc_; // first member: outlives the state below
    HDC dc_;
    RECT surface_;
    HBRUSH clear_;
    SavedDcState saved_;
    Selection font_;
};

// The system's own colours.
class Win32SystemColors final : public SystemColors {
  public:
    Rgb GetSysColor(int index) const override;
};

} // namespace gk
