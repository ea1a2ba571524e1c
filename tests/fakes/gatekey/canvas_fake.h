#pragma once
// A pixel surface that follows GDI's rules: FillRect leaves out the right column and bottom row,
// FrameRect paints the innermost ring of its rectangle, LineTo leaves out the end point, and
// anything outside the surface is clipped. It also keeps a record of the calls made.
#include <cstdint>
#include <string>
#include <vector>

#include "led/canvas.h"
#include "led/led.h"

namespace gk::test {

inline constexpr Rgb kClearColor = 0x00ABCDEF; // the surface before anything is painted on it
inline constexpr Rgb kUntouched = 0x00FEDCBA;  // a pixel no call has reached
inline constexpr int32_t kLineHeight = 13;     // "MS Sans Serif" 8 pt bold, as GDI measures it

struct TextCall {
    std::string text;
    Rect rect;
    uint32_t flags;
};

struct PictureCall {
    const Picture* picture;
    int32_t x, y, width, height;
    uint32_t rop;
};

class PixelCanvas final : public Canvas {
  public:
    PixelCanvas(int32_t width, int32_t height);

    Rgb At(int32_t x, int32_t y) const;

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
    int32_t PixelsPerInchX() const override { return 96; }
    int32_t PixelsPerInchY() const override { return 96; }

    int clears = 0, brushes = 0, pens = 0, pixelsSet = 0;
    Rgb textColor = 0x00FFFFFF; // anything but black, so the reset to black shows
    std::vector<TextCall> texts;
    std::vector<PictureCall> pictures;

  private:
    void Plot(int32_t x, int32_t y, Rgb color);
    int32_t width_, height_;
    std::vector<Rgb> pixels_;
};

// System colours with a settable button face (COLOR_BTNFACE); every other index has the colour
// 0x0000xx0A, xx being the index, so that a test sees which index was read.
class FakeColors final : public SystemColors {
  public:
    Rgb GetSysColor(int index) const override;
    Rgb buttonFace = 0x00C8D0D4;
};

// A host whose every repaint lands on one long-lived pixel canvas, so tests can read what the
// last repaint left and count repaints.
class FakeHost final : public LedHost {
  public:
    FakeHost(int32_t width, int32_t height)
        : width_(width), height_(height), canvas(width, height) {}

    std::unique_ptr<Canvas> OpenCanvas() override;
    Rect GetClientRect() override { return {0, 0, width_, height_}; }
    void EnableWindow(bool enabled) override {
        windowEnabled = enabled;
        ++enableCalls;
    }
    std::string AmbientDisplayName() override { return displayName; }
    const SystemColors& Colors() override { return colors; }

    int32_t width_, height_;
    PixelCanvas canvas;
    FakeColors colors;
    int repaints = 0; // surfaces opened
    bool windowEnabled = false;
    int enableCalls = 0;
    std::string displayName = "ledRouter";
};

// A picture of a given pixel size at 96 dpi.
class FakePicture final : public Picture {
  public:
    FakePicture(int32_t widthPx, int32_t heightPx)
        : w_(widthPx * 2540 / 96), h_(heightPx * 2540 / 96) {}
    int32_t WidthHimetric() const override { return w_; }
    int32_t HeightHimetric() const override { return h_; }

  private:
    int32_t w_, h_;
};

} // namespace gk::test
