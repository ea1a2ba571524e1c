#include "fakes/gatekey/canvas_fake.h"

#include <cstdlib>

namespace gk::test {
namespace {

// A surface the fake host hands out for one repaint; it paints through to the host's canvas.
class CanvasView final : public Canvas {
  public:
    explicit CanvasView(Canvas& target) : t_(target) {}
    void Clear() override { t_.Clear(); }
    void FillRect(const Rect& r, Rgb c) override { t_.FillRect(r, c); }
    void FrameRect(const Rect& r, Rgb c) override { t_.FrameRect(r, c); }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb c) override {
        t_.Line(x1, y1, x2, y2, c);
    }
    void SetPixelV(int32_t x, int32_t y, Rgb c) override { t_.SetPixelV(x, y, c); }
    int32_t TextHeight(const std::string& s) override { return t_.TextHeight(s); }
    void DrawText(const std::string& s, const Rect& r, uint32_t f) override {
        t_.DrawText(s, r, f);
    }
    void SetTextColor(Rgb c) override { t_.SetTextColor(c); }
    void DrawPicture(const Picture& p, int32_t x, int32_t y, int32_t w, int32_t h,
                     uint32_t rop) override {
        t_.DrawPicture(p, x, y, w, h, rop);
    }
    int32_t PixelsPerInchX() const override { return t_.PixelsPerInchX(); }
    int32_t PixelsPerInchY() const override { return t_.PixelsPerInchY(); }

  private:
    Canvas& t_;
};

} // namespace

PixelCanvas::PixelCanvas(int32_t width, int32_t height)
    : width_(width), height_(height),
      pixels_(static_cast<size_t>(width > 0 && height > 0 ? width * height : 0), kUntouched) {}

Rgb PixelCanvas::At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF; // CLR_INVALID
    return pixels_[static_cast<size_t>(y * width_ + x)];
}

void PixelCanvas::Plot(int32_t x, int32_t y, Rgb color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y * width_ + x)] = color;
}

void PixelCanvas::Clear() {
    ++clears;
    for (auto& p : pixels_)
        p = kClearColor;
}

void PixelCanvas::FillRect(const Rect& r, Rgb color) {
    ++brushes;
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            Plot(x, y, color);
}

void PixelCanvas::FrameRect(const Rect& r, Rgb color) {
    ++brushes;
    if (r.right <= r.left || r.bottom <= r.top) return;
    for (int32_t x = r.left; x < r.right; ++x) {
        Plot(x, r.top, color);
        Plot(x, r.bottom - 1, color);
    }
    for (int32_t y = r.top; y < r.bottom; ++y) {
        Plot(r.left, y, color);
        Plot(r.right - 1, y, color);
    }
}

void PixelCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb color) {
    ++pens;
    // Bresenham from the start point, stopping before the end point.
    const int32_t dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int32_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int32_t error = dx + dy;
    int32_t x = x1, y = y1;
    while (x != x2 || y != y2) {
        Plot(x, y, color);
        const int32_t e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void PixelCanvas::SetPixelV(int32_t x, int32_t y, Rgb color) {
    ++pixelsSet;
    Plot(x, y, color);
}

int32_t PixelCanvas::TextHeight(const std::string& text) {
    int32_t lines = 1;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return kLineHeight * lines;
}

void PixelCanvas::DrawText(const std::string& text, const Rect& rect, uint32_t flags) {
    texts.push_back({text, rect, flags});
}

void PixelCanvas::SetTextColor(Rgb color) {
    textColor = color;
}

void PixelCanvas::DrawPicture(const Picture& picture, int32_t x, int32_t y, int32_t width,
                              int32_t height, uint32_t rop) {
    pictures.push_back({&picture, x, y, width, height, rop});
}

Rgb FakeColors::GetSysColor(int index) const {
    constexpr int kButtonFaceIndex = 15;
    if (index == kButtonFaceIndex) return buttonFace;
    return (static_cast<Rgb>(index) << 8) | 0x0A;
}

std::unique_ptr<Canvas> FakeHost::OpenCanvas() {
    ++repaints;
    return std::make_unique<CanvasView>(canvas);
}

} // namespace gk::test
