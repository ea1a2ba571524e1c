#include "led_gdi.h"

#include "common/win32/codepage.h"

namespace gk {
namespace {

RECT ToRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

RECT ClientRectOf(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

} // namespace

Rgb Win32SystemColors::GetSysColor(int index) const {
    return ::GetSysColor(index);
}

int ScreenDpi(int index) {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() != nullptr ? GetDeviceCaps(screen.get(), index) : 0;
    return dpi > 0 ? dpi : 96;
}

GdiObject SansSerifFont(int dpi, bool bold) {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(825, dpi, 7200);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return GdiObject(CreateFontIndirectA(&lf));
}

BitmapPicture::BitmapPicture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (bitmap != nullptr && GetObject(bitmap, sizeof info, &info) != 0) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    widthHimetric_ = MulDiv(width_, 2540, ScreenDpi(LOGPIXELSX));
    heightHimetric_ = MulDiv(height_, 2540, ScreenDpi(LOGPIXELSY));
}

std::shared_ptr<Picture> LoadBitmapPicture(HINSTANCE instance, const std::string& reference) {
    if (reference.empty()) return nullptr;
    HANDLE bitmap = LoadImageA(instance, reference.c_str(), IMAGE_BITMAP, 0, 0, 0);
    if (bitmap == nullptr) return nullptr;
    return std::make_shared<BitmapPicture>(static_cast<HBITMAP>(bitmap));
}

GdiCanvas::GdiCanvas(HDC dc, const RECT& surface, HFONT font, HBRUSH clear)
    : dc_(dc), surface_(surface), clear_(clear), saved_(dc), font_(dc, font) {
    SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::GdiCanvas(HWND window, HFONT font, HBRUSH clear)
    : ownedDc_(std::in_place, window), dc_(ownedDc_->get()), surface_(ClientRectOf(window)),
      clear_(clear), saved_(dc_), font_(dc_, font) {
    SetBkMode(dc_, TRANSPARENT);
}

void GdiCanvas::Clear() {
    if (clear_ != nullptr) ::FillRect(dc_, &surface_, clear_);
}

void GdiCanvas::FillRect(const Rect& rect, Rgb color) {
    const GdiObject brush(CreateSolidBrush(color));
    const RECT r = ToRect(rect);
    if (brush) ::FillRect(dc_, &r, static_cast<HBRUSH>(brush.get()));
}

void GdiCanvas::FrameRect(const Rect& rect, Rgb color) {
    const GdiObject brush(CreateSolidBrush(color));
    const RECT r = ToRect(rect);
    if (brush) ::FrameRect(dc_, &r, static_cast<HBRUSH>(brush.get()));
}

void GdiCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb color) {
    const GdiObject pen(CreatePen(PS_SOLID, 1, color));
    if (!pen) return;
    const Selection selected(dc_, pen.get());
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void GdiCanvas::SetPixelV(int32_t x, int32_t y, Rgb color) {
    ::SetPixelV(dc_, x, y, color);
}

int32_t GdiCanvas::TextHeight(const std::string& text) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc_, &metrics);
    // Every line counts, a CR LF pair being one break.
    int32_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lines;
    }
    return metrics.tmHeight * lines;
}

void GdiCanvas::DrawText(const std::string& text, const Rect& rect, uint32_t flags) {
    std::string ansi = corvane::ToAnsi(text);
    RECT r = ToRect(rect);
    ::DrawTextA(dc_, ansi.data(), static_cast<int>(ansi.size()), &r, flags);
}

void GdiCanvas::SetTextColor(Rgb color) {
    ::SetTextColor(dc_, color);
}

void GdiCanvas::DrawPicture(const Picture& picture, int32_t x, int32_t y, int32_t width,
                            int32_t height, uint32_t rop) {
    const auto* bitmap = dynamic_cast<const BitmapPicture*>(&picture);
    if (bitmap == nullptr || bitmap->Bitmap() == nullptr) return;
    const MemoryDc source(CreateCompatibleDC(dc_));
    if (source.get() == nullptr) return;
    const Selection selected(source.get(), bitmap->Bitmap());
    StretchBlt(dc_, x, y, width, height, source.get(), 0, 0, bitmap->WidthPixels(),
               bitmap->HeightPixels(), rop);
}

int32_t GdiCanvas::PixelsPerInchX() const {
    return GetDeviceCaps(dc_, LOGPIXELSX);
}
int32_t GdiCanvas::PixelsPerInchY() const {
    return GetDeviceCaps(dc_, LOGPIXELSY);
}

} // namespace gk
