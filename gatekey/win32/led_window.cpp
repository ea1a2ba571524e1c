// The lamp's window: it hosts one gk::Led, feeds it the window's life-cycle events and paints it.
#include "led_window.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "common/win32/codepage.h"
#include "led/led.h"
#include "led_gdi.h"

namespace gk {
namespace {

HBRUSH SurfaceBrush() {
    return GetSysColorBrush(COLOR_BTNFACE);
}

class LampWindow final : public LedHost {
  public:
    LampWindow(HWND window, HINSTANCE instance, std::string name)
        : window_(window), instance_(instance), name_(std::move(name)),
          font_(SansSerifFont(ScreenDpi(), true)) {}

    Led& Control() { return led_; }
    HFONT Font() const { return static_cast<HFONT>(font_.get()); }

    std::unique_ptr<Canvas> OpenCanvas() override {
        return std::make_unique<GdiCanvas>(window_, Font(), SurfaceBrush());
    }
    Rect GetClientRect() override {
        RECT rect{};
        ::GetClientRect(window_, &rect);
        return {rect.left, rect.top, rect.right, rect.bottom};
    }
    void EnableWindow(bool enabled) override { ::EnableWindow(window_, enabled ? TRUE : FALSE); }
    std::string AmbientDisplayName() override { return name_; }
    const SystemColors& Colors() override { return colors_; }

    // The saved description, when the program carries one for this instance.
    bool LoadDescription(PropertyBag& bag) const {
        if (name_.empty()) return false;
        HRSRC found = FindResourceA(instance_, name_.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
        if (found == nullptr) return false;
        HGLOBAL loaded = LoadResource(instance_, found);
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (data == nullptr) return false;
        const std::string_view text(static_cast<const char*>(data),
                                    SizeofResource(instance_, found));
        HINSTANCE instance = instance_;
        bag = ParseDescription(text, kKeyBackdrop, [instance](const std::string& reference) {
            return LoadBitmapPicture(instance, reference);
        });
        return true;
    }

  private:
    HWND window_;
    HINSTANCE instance_;
    std::string name_;
    corvane::GdiObject font_;
    Win32SystemColors colors_;
    Led led_{*this};
};

// The control lives in the class's own window bytes, so a container that keeps its own data in
// GWLP_USERDATA cannot clobber it.
LampWindow* StateOf(HWND window) {
    return reinterpret_cast<LampWindow*>(GetWindowLongPtrA(window, 0));
}

// Copies the caption as WM_GETTEXT does: at most size - 1 characters and a NUL.
LRESULT CopyCaption(const std::string& ansi, WPARAM size, char* buffer) {
    if (buffer == nullptr || size == 0) return 0;
    const size_t count = ansi.size() < size - 1 ? ansi.size() : size - 1;
    std::memcpy(buffer, ansi.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT CALLBACK LedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto state = std::make_unique<LampWindow>(
            window, create->hInstance, create->lpszName != nullptr ? create->lpszName : "");
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state.release()));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    LampWindow* state = StateOf(window);
    if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    Led& led = state->Control();
    switch (message) {
    case WM_CREATE: {
        led.UserControl_Initialize();
        PropertyBag bag;
        if (state->LoadDescription(bag)) {
            led.UserControl_ReadProperties(bag);
        } else {
            led.UserControl_InitProperties();
        }
        return 0;
    }
    case WM_SIZE:
        led.UserControl_Resize();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam != 0) led.UserControl_Show();
        break;
    case WM_ERASEBKGND:
        return 1; // every repaint clears the surface itself
    case WM_PAINT: {
        const corvane::PaintDc paint(window);
        RECT client{};
        GetClientRect(window, &client);
        GdiCanvas canvas(paint.get(), client, state->Font(), SurfaceBrush());
        led.Redraw(canvas);
        return 0;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(corvane::ToAnsi(led.Caption()).size());
    case WM_GETTEXT:
        return CopyCaption(corvane::ToAnsi(led.Caption()), wParam, reinterpret_cast<char*>(lParam));
    case LEDM_GETFILLCOLOR:
        return static_cast<LRESULT>(led.FillColor());
    case LEDM_GETBACKCOLOR:
        return static_cast<LRESULT>(led.BackColor());
#ifdef GATEKEY_LAMP_TAKES_WRITES
    case WM_SETTEXT:
        led.SetCaption(lParam != 0 ? corvane::FromAnsi(reinterpret_cast<const char*>(lParam)) : "");
        return TRUE;
    case LEDM_SETFILLCOLOR:
        led.SetFillColor(static_cast<OleColor>(wParam));
        return 0;
    case LEDM_SETBACKCOLOR:
        led.SetBackColor(static_cast<OleColor>(wParam));
        return 0;
#else
    case WM_SETTEXT:
        return FALSE; // the caption is the program's own say
#endif
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, 0, 0);
        delete state;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterLedClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = LedWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kLedClassName;
    if (RegisterClassExA(&wc) != 0) return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Led* LedFromWindow(HWND window) {
    if (window == nullptr) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, kLedClassName) != 0) return nullptr;
    LampWindow* state = StateOf(window);
    return state != nullptr ? &state->Control() : nullptr;
}

OleColor LedWindow::FillColor() const {
    const Led* led = LedFromWindow(window_);
    return led != nullptr ? led->FillColor() : 0;
}

void LedWindow::SetFillColor(OleColor color) {
    if (Led* led = LedFromWindow(window_)) led->SetFillColor(color);
}

std::string LedWindow::Caption() const {
    const Led* led = LedFromWindow(window_);
    return led != nullptr ? led->Caption() : std::string();
}

void LedWindow::SetCaption(const std::string& text) {
    if (Led* led = LedFromWindow(window_)) led->SetCaption(text);
}

OleColor LedWindow::BackColor() const {
    const Led* led = LedFromWindow(window_);
    return led != nullptr ? led->BackColor() : 0;
}

void LedWindow::SetBackColor(OleColor color) {
    if (Led* led = LedFromWindow(window_)) led->SetBackColor(color);
}

} // namespace gk
