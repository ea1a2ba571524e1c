#include "win32/browser_host.h"

#include "common/win32/codepage.h"
#include "common/win32/system_library.h"

#include <ole2.h>

namespace gk::win32 {
namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// The WebBrowser control's class identifier, as the host window's text.
constexpr const char* kWebBrowserClsid = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

} // namespace

BrowserHost::BrowserHost(HWND parent, int id, RECT place)
    : atl_(corvane::LoadSystemLibrary("atl.dll")) {
    const auto init = corvane::ProcAddress<AtlAxWinInitFn>(atl_.get(), "AtlAxWinInit");
    const auto getControl = corvane::ProcAddress<AtlAxGetControlFn>(atl_.get(), "AtlAxGetControl");
    if (!init || !getControl || !init()) return;
    window_ = corvane::Window(CreateWindowExA(
        0, "AtlAxWin", kWebBrowserClsid, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, place.left,
        place.top, place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr));
    if (!window_) return;
    corvane::ComPtr<IUnknown> control;
    if (FAILED(getControl(window_.get(), control.Put())) || !control) return;
    control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser_.Put()));
}

bool BrowserHost::TranslateKey(MSG& msg) {
    if (!browser_ || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    corvane::ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(browser_->QueryInterface(IID_IOleInPlaceActiveObject,
                                        reinterpret_cast<void**>(active.Put()))) ||
        !active) {
        return false;
    }
    return active->TranslateAccelerator(&msg) == S_OK;
}

void BrowserHost::Move(int left, int top) {
    SetWindowPos(window_.get(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BrowserHost::SetSize(int width, int height) {
    SetWindowPos(window_.get(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BrowserHost::Visible() {
    return shown_;
}

void BrowserHost::Show() {
    shown_ = true;
    ShowWindow(window_.get(), SW_SHOW);
}

void BrowserHost::Navigate(const std::string& url, const std::string& headers) {
    if (!browser_) return;
    const corvane::Bstr target = corvane::MakeBstr(corvane::ToUtf16(url));
    if (!target) return;
    // The login address carries the user's password: it stays out of the browser's history,
    // and so does every other page the program opens itself.
    corvane::Variant flags;
    flags.SetLong(navNoHistory);
    corvane::Variant none;
    corvane::Variant extraHeaders;
    if (!headers.empty()) extraHeaders.SetText(corvane::MakeBstr(corvane::ToUtf16(headers)));
    browser_->Navigate(target.get(), flags.get(), none.get(), none.get(), extraHeaders.get());
}

// The host window passes its focus on to the control, which takes it into its page.
void BrowserHost::Focus() {
    if (window_) SetFocus(window_.get());
}

} // namespace gk::win32
