#include "win32/login_window.h"

#include "common/win32/codepage.h"
#include "common/win32/owners.h"
#include "win32/browser_host.h"
#include "win32/led_gdi.h"
#include "win32/led_window.h"
#include "win32/resource.h"
#include "win32/win32_files.h"
#include "win32/win32_probe.h"
#include "window/layout.h"
#include "window/login_form.h"

#include <commctrl.h>
#include <shellapi.h>

#include <map>
#include <memory>

namespace gk::win32 {
namespace {

constexpr const char* kFormClass = "GatekeyForm";
constexpr const char* kFrameClass = "GatekeyFrame";

HMENU ControlMenu(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

class LoginWindow final : public FormView {
  public:
    explicit LoginWindow(HINSTANCE instance) : instance_(instance), dpi_(ScreenDpi()) {
        form_.view = this;
        form_.files = &files_;
        form_.probe = &probe_;
        form_.ledRouter = &ledRouter_;
        form_.ledNet = &ledNet_;
    }
    LoginWindow(const LoginWindow&) = delete;
    LoginWindow& operator=(const LoginWindow&) = delete;

    int Run(int show);

    // FormView
    std::string FieldText(Field field) override;
    void SetLoginEnabled(bool enabled) override { EnableWindow(Control(kCmdLogin), enabled); }
    bool HidePasswordTicked() override {
        return SendMessageA(Control(kCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void SetPasswordChar(char c) override;
    void Maximize() override;
    bool Maximized() override { return IsZoomed(hwnd_) != 0; }
    void HidePanel() override { ShowWindow(Control(kFrame1), SW_HIDE); }
    void OpenInShell(const std::string& file) override {
        ShellExecuteA(hwnd_, "open", corvane::ToAnsi(file).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
    void ShowMessage(const std::string& text) override {
        MessageBoxA(hwnd_, corvane::ToAnsi(text).c_str(), corvane::ToAnsi(kMessageTitle).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
    }

  private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool RegisterClasses();
    bool CreateForm();
    void CreateControls();
    void CreateControl(const ControlSpec& spec);
    RECT PlaceOf(const ControlSpec& spec) const;
    HWND Control(int id) const;
    LRESULT OnFormMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool OnCommand(int id, int code);
    void PaintFrame(HWND frame);
    void DrawLogo(const DRAWITEMSTRUCT& item);
    LRESULT ColorStatic(HDC dc, HWND control);

    HINSTANCE instance_;
    int dpi_;
    HWND hwnd_ = nullptr;
    bool ready_ = false;       // controls made and the load step run
    HWND lastFocus_ = nullptr; // the control that had the focus when the window went inactive
    std::map<int, HWND> controls_;
    corvane::GdiObject font_;
    corvane::GdiObject linkFont_;
    corvane::GdiObject logo_;
    Win32Files files_;
    Win32Probe probe_;
    LedWindow ledRouter_;
    LedWindow ledNet_;
    std::unique_ptr<BrowserHost> browser_;
    LoginForm form_;
};

LoginWindow* FromHwnd(HWND hwnd) {
    return reinterpret_cast<LoginWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool LoginWindow::RegisterClasses() {
    if (!RegisterLedClass(instance_)) return false;
    const auto icon = [this](int size) {
        return static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_GATEKEY), IMAGE_ICON,
                                             size, size, LR_SHARED));
    };
    WNDCLASSEXA form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = FormProc;
    form.hInstance = instance_;
    form.hIcon = icon(GetSystemMetrics(SM_CXICON));
    form.hIconSm = icon(GetSystemMetrics(SM_CXSMICON));
    form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    WNDCLASSEXA frame = form;
    frame.lpfnWndProc = FrameProc;
    frame.hIcon = nullptr;
    frame.hIconSm = nullptr;
    frame.lpszClassName = kFrameClass;
    return RegisterClassExA(&form) != 0 && RegisterClassExA(&frame) != 0;
}

bool LoginWindow::CreateForm() {
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, TwipsToPixels(kFormClientWidth, dpi_), TwipsToPixels(kFormClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClass, corvane::ToAnsi(kFormCaption).c_str(),
                            style, left, top, width, height, nullptr, nullptr, instance_, this);
    return hwnd_ != nullptr;
}

RECT LoginWindow::PlaceOf(const ControlSpec& spec) const {
    const TwipsRect& t = spec.place;
    const int left = TwipsToPixels(t.left, dpi_);
    const int top = TwipsToPixels(t.top, dpi_);
    return RECT{left, top, left + TwipsToPixels(t.width, dpi_),
                top + TwipsToPixels(t.height, dpi_)};
}

HWND LoginWindow::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void LoginWindow::CreateControl(const ControlSpec& spec) {
    const HWND parent = spec.inFrame ? Control(kFrame1) : hwnd_;
    const RECT r = PlaceOf(spec);
    const auto make = [&](DWORD exStyle, const char* cls, DWORD style) {
        return CreateWindowExA(exStyle, cls, corvane::ToAnsi(spec.text).c_str(), WS_CHILD | style,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                               ControlMenu(spec.id), instance_, nullptr);
    };
    HWND hwnd = nullptr;
    switch (spec.kind) {
    case ControlKind::Frame:
        hwnd = make(WS_EX_CONTROLPARENT, kFrameClass, WS_VISIBLE | WS_CLIPCHILDREN);
        break;
    case ControlKind::Label:
        hwnd = make(0, "STATIC", WS_VISIBLE | SS_LEFT);
        break;
    case ControlKind::TextBox:
        hwnd = make(WS_EX_CLIENTEDGE, "EDIT",
                    WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL |
                        (spec.id == kTxtPass ? ES_PASSWORD : 0));
        if (spec.id == kTxtPass) SendMessageA(hwnd, EM_SETPASSWORDCHAR, '*', 0);
        break;
    case ControlKind::Button:
        // Login is the panel's default button: Enter presses it (the window names it on
        // DM_GETDEFID), and it is drawn so.
        hwnd = make(0, "BUTTON", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_DEFPUSHBUTTON);
        break;
    case ControlKind::CheckBox: {
        hwnd = make(0, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX);
        SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        const HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                                         0, 0, 0, hwnd_, nullptr, instance_, nullptr);
        std::string tipText = corvane::ToAnsi(kHidePasswordTip);
        TOOLINFOA tool{};
        // The record's first form, which every version of the common controls takes: the 4.00
        // of a bare NT 4 knows no lParam, and the tip needs none.
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_; // the window that hears about the tip, as for every tool of it
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        tool.lpszText = tipText.data();
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        break;
    }
    case ControlKind::Lamp:
        // The window name is the lamp's name; its saved look comes with it.
        hwnd = CreateWindowExA(0, kLedClassName, spec.name, WS_CHILD | WS_VISIBLE, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent, ControlMenu(spec.id),
                               instance_, nullptr);
        (spec.id == kLedRouter ? ledRouter_ : ledNet_) = LedWindow(hwnd);
        break;
    case ControlKind::Picture:
        // The link label lies over the picture's lower edge; the picture must not paint it over.
        hwnd = make(0, "STATIC", WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW);
        break;
    case ControlKind::Link:
        hwnd = make(0, "STATIC", WS_VISIBLE | SS_LEFT | SS_NOTIFY);
        break;
    case ControlKind::Browser:
        browser_ = std::make_unique<BrowserHost>(parent, spec.id, r);
        form_.browser = browser_.get();
        hwnd = browser_->hwnd();
        break;
    }
    if (!hwnd) return;
    controls_[spec.id] = hwnd;
    if (spec.kind != ControlKind::Lamp && spec.kind != ControlKind::Browser) {
        const HGDIOBJ font = spec.kind == ControlKind::Link ? linkFont_.get() : font_.get();
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void LoginWindow::CreateControls() {
    font_ = SansSerifFont(dpi_, false);
    linkFont_ = SansSerifFont(dpi_, true);
    logo_ = corvane::GdiObject(
        LoadImageA(instance_, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    for (const ControlSpec& spec : kControls)
        CreateControl(spec);
}

int LoginWindow::Run(int show) {
    if (!RegisterClasses() || !CreateForm()) return 1;
    probe_.SetOwner(hwnd_);
    CreateControls();
    Form_Load(form_);
    ready_ = true;
    RECT client{};
    GetClientRect(hwnd_, &client);
    Form_Resize(form_, client.right, client.bottom);
    // The panel always opens as a normal window; maximising is what reveals the browser.
    ShowWindow(hwnd_, show == SW_SHOWMAXIMIZED || show == SW_MAXIMIZE ? SW_SHOWNORMAL : show);
    UpdateWindow(hwnd_);
    SetFocus(Control(kTxtHost));

    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (browser_->Visible() ? browser_->TranslateKey(msg) : IsDialogMessageA(hwnd_, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

std::string LoginWindow::FieldText(Field field) {
    static constexpr int ids[] = {kTxtHost, kTxtPort, kTxtUser, kTxtPass};
    const HWND edit = Control(ids[static_cast<int>(field)]);
    const int len = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(len) + 1, '\0');
    const int got = static_cast<int>(
        SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return corvane::FromAnsi(text);
}

void LoginWindow::Maximize() {
    const bool wasZoomed = IsZoomed(hwnd_) != 0;
    ShowWindow(hwnd_, SW_MAXIMIZE);
    // A window maximised already reports no new size, yet the resize step must still run.
    if (wasZoomed) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        Form_Resize(form_, client.right, client.bottom);
    }
}

void LoginWindow::SetPasswordChar(char c) {
    const HWND edit = Control(kTxtPass);
    SendMessageA(edit, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
    InvalidateRect(edit, nullptr, TRUE);
}

bool LoginWindow::OnCommand(int id, int code) {
    if (!ready_) return false;
    switch (id) {
    case kTxtHost:
    case kTxtPort:
    case kTxtUser:
    case kTxtPass:
        if (code == EN_CHANGE) UpdateLoginButton(form_);
        // Only a move to another control of the panel leaves the field; the program losing
        // the focus to another window (or to its own message box) does not, nor does the
        // browser taking it once the panel is gone.
        if (code == EN_KILLFOCUS && id == kTxtHost && IsChild(Control(kFrame1), GetFocus())) {
            txtHost_LostFocus(form_);
        }
        return true;
    case kCmdLogin:
        // Enter arrives as a click of the default button; not every dialog manager looks
        // whether that button is enabled.
        if (code == BN_CLICKED && IsWindowEnabled(Control(kCmdLogin))) cmdLogin_Click(form_);
        return true;
    case kCheck1:
        if (code == BN_CLICKED) Check1_Click(form_);
        return true;
    case kLblUrl:
        if (code == STN_CLICKED) lblURL_Click(form_);
        return true;
    default:
        return false;
    }
}

void LoginWindow::PaintFrame(HWND frame) {
    const corvane::PaintDc paint(frame);
    const HDC dc = paint.get();
    RECT r{};
    GetClientRect(frame, &r);
    const corvane::Selection font(dc, font_.get());
    char caption[64] = {};
    const int len = GetWindowTextA(frame, caption, sizeof caption);
    SIZE text{};
    GetTextExtentPoint32A(dc, caption, len, &text);
    r.top += text.cy / 2;
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const int pad = MulDiv(3, dpi_, 96);
    RECT label{MulDiv(8, dpi_, 96), 0, 0, text.cy};
    label.right = label.left + text.cx + 2 * pad;
    ExtTextOutA(dc, label.left + pad, 0, ETO_OPAQUE, &label, caption, static_cast<UINT>(len),
                nullptr);
}

void LoginWindow::DrawLogo(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP bm{};
    if (!logo_ || !GetObjectA(logo_.get(), sizeof bm, &bm)) return;
    const corvane::MemoryDc source(CreateCompatibleDC(item.hDC));
    if (!source) return;
    const corvane::Selection picture(source.get(), logo_.get());
    // Windows 9x knows no halftone stretching; without it, the dropped pixels' colours are not
    // mixed but at least not ANDed together either.
    if (!SetStretchBltMode(item.hDC, HALFTONE)) SetStretchBltMode(item.hDC, COLORONCOLOR);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), 0, 0,
               bm.bmWidth, bm.bmHeight, SRCCOPY);
}

LRESULT LoginWindow::ColorStatic(HDC dc, HWND control) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, control == Control(kLblUrl) ? static_cast<COLORREF>(kLinkColor)
                                                 : GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT LoginWindow::OnFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (ready_) Form_Resize(form_, LOWORD(lp), HIWORD(lp));
        return 0;
    case DM_GETDEFID:
        // The dialog manager (IsDialogMessage) asks which button Enter presses.
        return MAKELRESULT(kCmdLogin, DC_HASDEFID);
    case WM_ACTIVATE:
        // Back from another program (or a message box), the control that had the focus gets it
        // again, so the keys go on into that field and leaving it later counts as leaving it.
        if (LOWORD(wp) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (IsChild(hwnd_, focus)) lastFocus_ = focus;
            return 0;
        }
        if (HIWORD(wp) == 0 && lastFocus_ != nullptr && IsWindowVisible(lastFocus_) &&
            IsWindowEnabled(lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        return DefWindowProcA(hwnd_, msg, wp, lp);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

LRESULT CALLBACK LoginWindow::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<LoginWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    LoginWindow* self = FromHwnd(hwnd);
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_COMMAND && self->OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
    return self->OnFormMessage(msg, wp, lp);
}

// The frame is the panel's container: it draws the group border and passes its children's
// notifications to the window.
LRESULT CALLBACK LoginWindow::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LoginWindow* self = FromHwnd(GetParent(hwnd));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_PAINT:
        self->PaintFrame(hwnd);
        return 0;
    case WM_COMMAND:
        self->OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return self->ColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->CtlID == static_cast<UINT>(kImage1)) {
            self->DrawLogo(*item);
            return TRUE;
        }
        break;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == self->Control(kLblUrl)) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int RunLoginWindow(HINSTANCE instance, int show) {
    LoginWindow window(instance);
    return window.Run(show);
}

} // namespace gk::win32
