#pragma once
// The lamp as a real window: class registration, the messages it answers and a small handle
// through which the login window drives it.
//
// Creating a lamp on a window:
//
//     gk::RegisterLedClass(instance);                  // once, before the first lamp
//     HWND lamp = CreateWindowExA(0, gk::kLedClassName, "ledRouter",
//                                 WS_CHILD | WS_VISIBLE, x, y, width, height,
//                                 parent, reinterpret_cast<HMENU>(controlId), instance, nullptr);
//     gk::LedWindow router(lamp);                      // implements gk::Lamp
//     router.SetFillColor(0x00FF00);                   // repaints at once
//     router.SetCaption("Connected to Router");        // repaints at once
//
// The window name is the instance's name. The lamp's saved properties are its description: an
// RCDATA resource of `instance` named like the instance (resource names ignore case), holding
// "key=value" lines with the keys bacimg, allo, fdc, btxt and bdc (see led/property_bag.h for the
// text rules; bacimg names a BITMAP resource, "#n" for a numeric one). With a description the
// lamp comes up as saved; without one it is a new instance: light blue, captioned with its name.
// led_lamps.rc holds the descriptions of ledRouter and ledNet.
//
// The lamp answers WM_GETTEXT and WM_GETTEXTLENGTH with its caption (ANSI) and the LEDM_GET*
// messages below with its colours, so any program can read it. Only the program itself sets
// them, through LedWindow: another program could otherwise show the user a lamp that lies. Test
// builds compiled with GATEKEY_LAMP_TAKES_WRITES also take WM_SETTEXT and the LEDM_SET* messages.
#include <windows.h>

#include <string>

#include "led/lamp.h"

namespace gk {

class Led;

inline constexpr const char* kLedClassName = "GatekeyLed";

// OLE colours, also across processes: wParam the new colour for the SET messages (test builds).
inline constexpr UINT LEDM_GETFILLCOLOR = WM_USER + 0x100;
inline constexpr UINT LEDM_SETFILLCOLOR = WM_USER + 0x101;
inline constexpr UINT LEDM_GETBACKCOLOR = WM_USER + 0x102;
inline constexpr UINT LEDM_SETBACKCOLOR = WM_USER + 0x103;

// Registers the lamp's window class for `instance`; true also when it is registered already.
bool RegisterLedClass(HINSTANCE instance);

// The control behind a lamp window of this process; null for any other window.
Led* LedFromWindow(HWND window);

// The monitor's view of one lamp window. Holds no resources; the window owns the control.
class LedWindow final : public Lamp {
  public:
    explicit LedWindow(HWND window = nullptr) : window_(window) {}
    HWND Window() const { return window_; }
    OleColor FillColor() const override;
    void SetFillColor(OleColor color) override;
    std::string Caption() const override;
    void SetCaption(const std::string& text) override;
    OleColor BackColor() const;
    void SetBackColor(OleColor color);

  private:
    HWND window_;
};

} // namespace gk
