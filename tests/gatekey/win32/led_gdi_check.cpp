// Paints lamps with real GDI and holds them against the pixel fake the unit tests use, then
// works a lamp window the way the login window and an outside program do. Run under Wine or
// Windows; prints one line per check and exits 0 when all held, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

#include "fakes/gatekey/canvas_fake.h"
#include "common/win32/codepage.h"
#include "led/led.h"
#include "led_gdi.h"
#include "led_window.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(value));
    return text;
}

// A 24-bit DIB section in a memory DC: what real GDI paints, read back pixel by pixel.
class DibSurface final : public gk::LedHost {
  public:
    DibSurface(int width, int height, HFONT font) : width_(width), height_(height), font_(font) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        bitmap_ = std::make_unique<gk::GdiObject>(
            CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        selected_ = std::make_unique<gk::Selection>(dc_.get(), bitmap_->get());
    }
    std::unique_ptr<gk::Canvas> OpenCanvas() override {
        const RECT surface{0, 0, width_, height_};
        return std::make_unique<gk::GdiCanvas>(dc_.get(), surface, font_,
                                               GetSysColorBrush(COLOR_BTNFACE));
    }
    gk::Rect GetClientRect() override { return {0, 0, width_, height_}; }
    void EnableWindow(bool) override {}
    std::string AmbientDisplayName() override { return "ledCheck"; }
    const gk::SystemColors& Colors() override { return colors_; }
    gk::Rgb At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

  private:
    int width_, height_;
    HFONT font_;
    gk::MemoryDc dc_{CreateCompatibleDC(nullptr)};
    std::unique_ptr<gk::GdiObject> bitmap_;
    std::unique_ptr<gk::Selection> selected_;
    gk::Win32SystemColors colors_;
};

// The same lamp painted by GDI and by the fake agrees on every pixel (no caption: the fake has
// no font) and, with the caption, on the corners and bevel the Part's cases name.
void CompareWithFake(int width, int height, gk::OleColor fill, HFONT font) {
    const std::string name = std::to_string(width) + "x" + std::to_string(height) + " " + Hex(fill);
    DibSurface real(width, height, font);
    gk::test::FakeHost fake(width, height);
    fake.colors.buttonFace = GetSysColor(COLOR_BTNFACE);
    for (gk::LedHost* host : {static_cast<gk::LedHost*>(&real), static_cast<gk::LedHost*>(&fake)}) {
        gk::Led led(*host);
        led.UserControl_Initialize();
        gk::PropertyBag bag = gk::ParseDescription("bdc=0x8000000F\n");
        bag.Write("fdc", static_cast<int32_t>(fill));
        led.UserControl_ReadProperties(bag);
        led.UserControl_Resize();
    }
    int differing = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (real.At(x, y) == fake.canvas.At(x, y)) continue;
            if (differing++ == 0)
                first = " first at (" + std::to_string(x) + ", " + std::to_string(y) + "): GDI " +
                        Hex(real.At(x, y)) + ", fake " + Hex(fake.canvas.At(x, y));
        }
    }
    Check(differing == 0,
          "every pixel of " + name + " matches the fake" +
              (differing ? " (" + std::to_string(differing) + " differ;" + first + ")"
                         : std::string()));
}

void PartCases(HFONT font) {
    DibSurface real(201, 33, font);
    gk::Led led(real);
    led.UserControl_Initialize();
    led.UserControl_ReadProperties(
        gk::ParseDescription("allo=True\nfdc=255\nbtxt=Not connected to Router\nbdc=0x8000000F\n"));
    led.UserControl_Resize();
    const gk::Rgb face = GetSysColor(COLOR_BTNFACE);
    const struct {
        int x, y;
        gk::Rgb expected;
        const char* what;
    } cases[] = {
        {0, 0, face, "(0,0) is the surrounding colour"},
        {1, 1, gk::ShadeColor(face, -170), "(1,1) is its -170 shade"},
        {1, 2, 0x0096FF, "(1,2) is red lightened by 150"},
        {199, 31, gk::ShadeColor(face, -170), "(199,31) is the surrounding colour's -170 shade"},
    };
    for (const auto& c : cases) {
        const gk::Rgb got = real.At(c.x, c.y);
        Check(got == c.expected,
              std::string("red 201x33 captioned: ") + c.what + " (" + Hex(got) + ")");
    }
    // The caption is black text somewhere on the middle rows, and nowhere on the bevel.
    int black = 0;
    for (int y = 10; y < 22; ++y)
        for (int x = 4; x < 197; ++x)
            black += real.At(x, y) == 0 ? 1 : 0;
    Check(black > 50, "the caption shows in black (" + std::to_string(black) + " pixels)");
    Check(led.TextRect() == (gk::Rect{1, 10, 199, 22}), "the caption box is (1,10)-(199,22)");
}

// A picture sits centred on the body, under the frame and bevel.
void PictureOnTheBody(HFONT font) {
    DibSurface real(201, 33, font);
    gk::Led led(real);
    led.UserControl_Resize();
    led.SetFillColor(0x0000FF);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bits != nullptr) {
        auto* bytes = static_cast<unsigned char*>(bits);
        for (int i = 0; i < 16 * 16; ++i) { // blue, green, red
            bytes[i * 3] = 0x80;
            bytes[i * 3 + 1] = 0x40;
            bytes[i * 3 + 2] = 0x20;
        }
    }
    led.SetBackdrop(std::make_shared<gk::BitmapPicture>(bitmap));
    Check(led.ImgLeft() == 92 && led.ImgTop() == 8 && led.ImgWidth() == 16,
          "a 16x16 picture is placed at (92,8) at its natural size");
    Check(real.At(92, 8) == 0x804020 && real.At(107, 23) == 0x804020 &&
              real.At(91, 8) == 0x0000FF && real.At(108, 23) == 0x0000FF,
          "and painted there, the body around it (" + Hex(real.At(92, 8)) + ")");
}

void LampWindows(HINSTANCE instance) {
    Check(gk::RegisterLedClass(instance), "the lamp class registers");
    Check(gk::RegisterLedClass(instance), "and registers again without harm");
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr,
                                  instance, nullptr);
    HWND router = CreateWindowExA(0, gk::kLedClassName, "ledRouter", WS_CHILD | WS_VISIBLE, 8, 8,
                                  201, 33, parent, reinterpret_cast<HMENU>(111), instance, nullptr);
    HWND fresh = CreateWindowExA(0, gk::kLedClassName, "ledSpare", WS_CHILD | WS_VISIBLE, 8, 50,
                                 100, 33, parent, reinterpret_cast<HMENU>(113), instance, nullptr);
    Check(router != nullptr && fresh != nullptr, "lamp windows are created");

    char text[64] = {};
    LRESULT length = SendMessageA(router, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    Check(std::string(text) == "Not connected to Router" && length == 23,
          std::string("the saved lamp reads \"") + text + "\"");
    Check(SendMessageA(router, WM_GETTEXTLENGTH, 0, 0) == 23, "its caption length is 23");
    char small[5] = {};
    length = SendMessageA(router, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small));
    Check(std::string(small) == "Not " && length == 4, "a short buffer gets a cut, ended caption");
    Check(SendMessageA(router, gk::LEDM_GETFILLCOLOR, 0, 0) == 255, "the saved lamp is red");
    Check(static_cast<uint32_t>(SendMessageA(router, gk::LEDM_GETBACKCOLOR, 0, 0)) == 0x8000000F,
          "its corners are the button face");
    Check(IsWindowEnabled(router) != 0, "it is enabled as saved");

    GetWindowTextA(fresh, text, sizeof text);
    Check(std::string(text) == "ledSpare", std::string("a lamp with no description reads its "
                                                       "name (\"") +
                                               text + "\")");
    Check(SendMessageA(fresh, gk::LEDM_GETFILLCOLOR, 0, 0) == 0xFFC0C0, "and is light blue");

    gk::LedWindow lamp(router);
    lamp.SetFillColor(0x00FF00);
    lamp.SetCaption("Connected to Router");
    GetWindowTextA(router, text, sizeof text);
    Check(std::string(text) == "Connected to Router" && lamp.Caption() == "Connected to Router",
          "the handle sets the caption the window reports");
    Check(SendMessageA(router, gk::LEDM_GETFILLCOLOR, 0, 0) == 0x00FF00 &&
              lamp.FillColor() == 0x00FF00,
          "and the colour");
    // What the window itself shows after a paint message, read back from its own DC.
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    InvalidateRect(router, nullptr, TRUE);
    UpdateWindow(router);
    {
        const gk::WindowDc dc(router);
        const gk::Rgb face = GetSysColor(COLOR_BTNFACE);
        const gk::Rgb corner = GetPixel(dc.get(), 0, 0), inner = GetPixel(dc.get(), 199, 31);
        const gk::Rgb step = GetPixel(dc.get(), 1, 2), body = GetPixel(dc.get(), 100, 5);
        Check(corner == face && inner == gk::ShadeColor(face, -170) &&
                  step == gk::ShadeColor(0x00FF00, 150) && body == 0x00FF00,
              "the painted window shows a green lamp with cut corners (" + Hex(corner) + " " +
                  Hex(inner) + " " + Hex(step) + " " + Hex(body) + ")");
    }
    SetWindowTextA(router, "Typed \xE9");
    Check(lamp.Caption() == "Typed \xC3\xA9",
          "WM_SETTEXT sets the caption, from the ANSI code page");
    // "ā" has a look-alike in the code page but no place there: it goes out as "?".
    lamp.SetCaption("\xC4\x81x");
    GetWindowTextA(router, text, sizeof text);
    Check(std::string(text) == "?x" && SendMessageA(router, WM_GETTEXTLENGTH, 0, 0) == 2,
          std::string("a character the code page cannot show reads \"?\" (\"") + text + "\")");
    Check(gk::LedFromWindow(parent) == nullptr && gk::LedWindow(parent).Caption().empty(),
          "another window is no lamp");

    DestroyWindow(parent);
    Check(gk::LedFromWindow(router) == nullptr, "a destroyed lamp is gone");
}

// Windows 98 and NT 4 refuse the flag against look-alike letters, not all with the same error
// (nor always with one): the text still goes out, through the system's own mapping.
DWORD refusal = 0;

int WINAPI RefusesFlags(UINT codePage, DWORD flags, LPCWCH wide, int wideLen, LPSTR out, int outLen,
                        LPCCH defaultChar, LPBOOL usedDefault) {
    if (flags != 0) {
        SetLastError(refusal);
        return 0;
    }
    return WideCharToMultiByte(codePage, flags, wide, wideLen, out, outLen, defaultChar,
                               usedDefault);
}

void OlderConversions() {
    for (const DWORD error :
         {DWORD{ERROR_INVALID_FLAGS}, DWORD{ERROR_INVALID_PARAMETER}, DWORD{0}}) {
        refusal = error;
        const std::string got = corvane::ToAnsi("Typed \xC3\xA9", RefusesFlags);
        Check(got == "Typed \xE9", "with the flag refused (error " + std::to_string(error) +
                                       ") the text goes out without it (\"" + got + "\")");
    }
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const gk::GdiObject font(CreateFontA(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif"));
    const HFONT hfont = static_cast<HFONT>(font.get());
    for (const auto& [w, h] : {std::pair{201, 33}, {193, 33}, {30, 30}, {7, 7}}) {
        for (gk::OleColor fill : {0x0000FFu, 0x00FF00u, 0x00FFFFu, 0xFFC0C0u, 0x8000000Fu}) {
            CompareWithFake(w, h, fill, hfont);
        }
    }
    PartCases(hfont);
    PictureOnTheBody(hfont);
    LampWindows(instance);
    OlderConversions();
    std::printf("%s: %d failed\n", failures == 0 ? "passed" : "FAILED", failures);
    return failures == 0 ? 0 : 1;
}
