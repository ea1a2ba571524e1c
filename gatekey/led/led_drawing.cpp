// How the lamp paints itself: straight onto its surface, no off-screen buffer, nothing cached.
#include <array>

#include "led/led.h"
#include "led/rounding.h"

namespace gk {
namespace {

// One bevel line: its shade of the body colour and its end points, each given as a distance from
// the left/top edge or, where `fromFar` is set, from the right/bottom edge (W - n, H - n).
struct Coord {
    int32_t n;
    bool fromFar;
    int32_t Resolve(int32_t size) const { return fromFar ? size - n : n; }
};
struct BevelLine {
    int amount;
    Coord x1, y1, x2, y2;
};

constexpr Coord Near(int32_t n) {
    return {n, false};
}
constexpr Coord Far(int32_t n) {
    return {n, true};
}

// Three steps per edge, outermost first: bottom and right darkened, top and left lightened.
constexpr std::array<BevelLine, 12> kBevel = {{
    {-150, Near(2), Far(2), Far(2), Far(2)},   // bottom, outer
    {-100, Near(1), Far(3), Far(2), Far(3)},   // bottom, middle
    {-50, Near(1), Far(4), Far(2), Far(4)},    // bottom, inner
    {-150, Far(2), Near(2), Far(2), Far(2)},   // right, outer
    {-100, Far(3), Near(3), Far(3), Far(3)},   // right, middle
    {-50, Far(4), Near(4), Far(4), Far(4)},    // right, inner
    {+150, Near(2), Near(1), Far(2), Near(1)}, // top, outer
    {+100, Near(1), Near(2), Far(2), Near(2)}, // top, middle
    {+50, Near(1), Near(3), Far(3), Near(3)},  // top, inner
    {+150, Near(1), Near(2), Near(1), Far(2)}, // left, outer
    {+100, Near(2), Near(3), Near(2), Far(3)}, // left, middle
    {+50, Near(3), Near(3), Near(3), Far(4)},  // left, inner
}};

// Each corner: three pixels in the surrounding colour and the inner one in its dark shade.
struct CornerPixel {
    Coord x, y;
    bool shaded;
};
constexpr std::array<CornerPixel, 16> kCorners = {{
    {Near(0), Near(0), false},
    {Near(0), Near(1), false},
    {Near(1), Near(0), false},
    {Near(1), Near(1), true}, // top-left
    {Near(0), Far(1), false},
    {Near(0), Far(2), false},
    {Near(1), Far(1), false},
    {Near(1), Far(2), true}, // bottom-left
    {Far(1), Near(0), false},
    {Far(2), Near(0), false},
    {Far(1), Near(1), false},
    {Far(2), Near(1), true}, // top-right
    {Far(1), Far(1), false},
    {Far(1), Far(2), false},
    {Far(2), Far(1), false},
    {Far(2), Far(2), true}, // bottom-right
}};

constexpr int kCornerShade = -170;

Rect Box(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

int32_t HimetricToPixels(int32_t himetric, int32_t pixelsPerInch) {
    return RoundHalfEven(static_cast<double>(himetric) * pixelsPerInch / 2540.0);
}

} // namespace

void Led::Redraw(Canvas& canvas) {
    const int32_t w = ledWidth_;
    const int32_t h = ledHeight_;
    canvas.Clear();
    fillRgb_ = TranslateColor(host_.Colors(), fillColor_);
    canvas.FillRect(Box(0, 0, w, h), fillRgb_);
    offset_ = 0;
    if (backdrop_) DrawImage(canvas, false);
    canvas.FrameRect(Box(0, 0, w, h), kFrameColor);
    for (const BevelLine& line : kBevel) {
        canvas.Line(line.x1.Resolve(w), line.y1.Resolve(h), line.x2.Resolve(w), line.y2.Resolve(h),
                    ShadeColor(fillRgb_, line.amount));
    }
    Chamfer(canvas);
    ShowCaption(canvas, caption_);
}

void Led::Chamfer(Canvas& canvas) {
    const Rgb surround = TranslateColor(host_.Colors(), backColor_);
    const Rgb shade = ShadeColor(surround, kCornerShade);
    for (const CornerPixel& pixel : kCorners) {
        canvas.SetPixelV(pixel.x.Resolve(ledWidth_), pixel.y.Resolve(ledHeight_),
                         pixel.shaded ? shade : surround);
    }
}

void Led::CentTxt(Canvas& canvas, const std::string& txt, int16_t offset) {
    const double sh2 = RoundHalfEven(ledHeight_ / 2.0);
    const double th = RoundHalfEven(canvas.TextHeight(txt));
    textRect_.bottom = RoundHalfEven(sh2 + th / 2 + offset);
    textRect_.right = ledWidth_ - 2 + offset;
    textRect_.left = offset + 1;
    textRect_.top = RoundHalfEven(sh2 - th / 2 + offset);
}

void Led::ShowCaption(Canvas& canvas, const std::string& txt) {
    CentTxt(canvas, txt, offset_);
    canvas.DrawText(txt, textRect_, kDrawTextFlags);
    canvas.SetTextColor(0);
}

void Led::CalcImgSz(Canvas& canvas, int16_t offset) {
    if (!backdrop_) return;
    const double w2 = RoundHalfEven(ledWidth_ / 2.0);
    const double h2 = RoundHalfEven(ledHeight_ / 2.0);
    imgWidth_ = HimetricToPixels(backdrop_->WidthHimetric(), canvas.PixelsPerInchX());
    imgHeight_ = HimetricToPixels(backdrop_->HeightHimetric(), canvas.PixelsPerInchY());
    imgLeft_ = RoundHalfEven(w2 - imgWidth_ / 2.0 + 3 * offset);
    imgTop_ = RoundHalfEven(h2 - imgHeight_ / 2.0 + 3 * offset);
}

void Led::DrawImage(Canvas& canvas, bool state) {
    CalcImgSz(canvas, offset_);
    if (!backdrop_) return;
    canvas.DrawPicture(*backdrop_, imgLeft_, imgTop_, imgWidth_, imgHeight_,
                       state ? kSourceAnd : kSourceCopy);
}

} // namespace gk
