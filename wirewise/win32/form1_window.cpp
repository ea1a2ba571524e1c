#include "win32/form1_window.h"

#include <commctrl.h>

#include <iterator>

#include "seams/codepage.h"
#include "win32/resource.h"
#include "window/form1_layout.h"

namespace ww {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct KindClass {
    const char* windowClass;
    DWORD style;
};

KindClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return {"STATIC", SS_LEFT};
    case ControlKind::DropDownList:
        return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL};
    case ControlKind::CheckBox:
        return {"BUTTON", BS_AUTOCHECKBOX};
    case ControlKind::Button:
        return {"BUTTON", BS_PUSHBUTTON};
    case ControlKind::Frame:
        break;
    }
    return {"BUTTON", BS_GROUPBOX};
}

DWORD StyleOf(const ControlSpec& c) {
    DWORD style = WS_CHILD | WS_VISIBLE | ClassOf(c.kind).style;
    if (c.flags & kTabStop) style |= WS_TABSTOP;
    if (c.flags & kDisabled) style |= WS_DISABLED;
    if (c.flags & kMultiLine) style |= BS_MULTILINE;
    if (c.flags & kGroup) style |= WS_GROUP;
    return style;
}

} // namespace

Form1Window::Form1Window(App& app, Win32Ui& ui, HINSTANCE instance)
    : app_(app), ui_(ui), instance_(instance), form_(app, *this) {
    const corvane::WindowDc screen(nullptr);
    if (screen.get()) {
        dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
}

int Form1Window::Run(int showCommand) {
    if (!Create()) return 1;
    ui_.SetOwner(hwnd_.get());
    form_.Form_Load();

    RECT r{};
    GetWindowRect(hwnd_.get(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_.get(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_.get(), showCommand);
    UpdateWindow(hwnd_.get());
    // No tip is asked for before the pointer has rested on a control: the tips come after the
    // window shows, which then shows that much sooner.
    CreateToolTips();

    MSG msg{};
    int got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        if (hwnd_.get() && IsDialogMessageA(hwnd_.get(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool Form1Window::Create() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Form1Window::WindowProc;
    wc.hInstance = instance_;
    // The program's own icon, in the sizes the system shows in the caption and in Alt+Tab.
    const auto icon = [this](int size) {
        return static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_WIREWISE), IMAGE_ICON,
                                             size, size, LR_SHARED));
    };
    wc.hIcon = icon(GetSystemMetrics(SM_CXICON));
    wc.hIconSm = icon(GetSystemMetrics(SM_CXSMICON));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT r{0, 0, PxX(kFormClientWidth), PxY(kFormClientHeight)};
    AdjustWindowRectEx(&r, kWindowStyle, FALSE, WS_EX_CONTROLPARENT);
    const HWND hwnd = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClassName, kFormCaption,
                                      kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                      r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd) return false;
    hwnd_ = corvane::Window(hwnd);
    CreateControls();
    return true;
}

void Form1Window::CreateControls() {
    // The classic 8-point dialog face, at the system's DPI.
    font_ = corvane::GdiObject(CreateFontA(-MulDiv(8, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                           DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    HGDIOBJ font = font_.get() ? font_.get() : GetStockObject(DEFAULT_GUI_FONT);

    for (const ControlSpec& c : kControls) {
        const TwipsRect place = ClientPlace(c);
        int height = PxY(place.height);
        if (c.kind == ControlKind::DropDownList) height += kDropDownRows * PxY(kDropDownRowHeight);
        const std::string text = ToAnsi(c.text);
        const HWND control = CreateWindowExA(
            0, ClassOf(c.kind).windowClass, text.c_str(), StyleOf(c), PxX(place.left),
            PxY(place.top), PxX(place.width), height, hwnd_.get(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
        if (!control) continue;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    // The box's key events are its own; the window hears them through its procedure.
    if (const HWND combo = Item(ids::kCboNic)) {
        SetWindowLongPtrA(combo, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        comboDefault_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1Window::ComboProc)));
    }
}

void Form1Window::CreateToolTips() {
    if (!hwnd_.get()) return; // closed while it started
    toolTips_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd_.get(), nullptr, instance_, nullptr);
    for (const ControlSpec& c : kControls)
        if (c.toolTip) SendToolTip(TTM_ADDTOOLA, c.id, c.toolTip);
}

// Adds a control's tip, or changes its text: the control is the tool, named by its window.
void Form1Window::SendToolTip(UINT message, int id, std::string_view text) {
    if (!toolTips_) return;
    const std::string ansi = ToAnsi(text);
    TTTOOLINFOA ti{};
    // The first version's size, which every common-controls version accepts (4.00 of a bare
    // NT 4 may refuse a larger one); the fields it lacks are not used.
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_.get();
    ti.uId = reinterpret_cast<UINT_PTR>(Item(id));
    ti.lpszText = const_cast<char*>(ansi.c_str());
    SendMessageA(toolTips_, message, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT CALLBACK Form1Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_.get()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT CALLBACK Form1Window::ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    const LRESULT result = CallWindowProcA(self->comboDefault_, hwnd, msg, wParam, lParam);
    if (msg == WM_CHAR) self->form_.cboNIC_KeyPress();
    // Any key released, with Alt held (Alt+Down opens the list) as well as without.
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP) self->form_.cboNIC_KeyUp();
    return result;
}

LRESULT Form1Window::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_.get();
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == ids::kCboNic && code == CBN_SELCHANGE) form_.cboNIC_Click();
        if (code == BN_CLICKED) {
            if (id == ids::kChkConnected) form_.chkConnected_Click();
            if (id == ids::kCmdToggle) form_.cmdToggle_Click();
            if (id == ids::kCmdWrite) form_.cmdWrite_Click();
        }
        return 0;
    }
    case WM_SETCURSOR:
        if ((busy_ || ui_.Waiting()) && !ui_.Asking()) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // The window remembers its focused control while another window (a message box among
        // them) is active, and gives the focus back when it is activated again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) focus_ = focus;
        }
        break;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_CLOSE:
        OnClose(false);
        return 0;
    case WM_QUERYENDSESSION: {
        if (closed_) return TRUE;
        const CloseAnswer answer = form_.Form_QueryUnload();
        if (answer == CloseAnswer::EndAtOnce) ExitProcess(0);
        closed_ = answer == CloseAnswer::Close;
        return closed_ ? TRUE : FALSE;
    }
    case WM_ENDSESSION:
        // The run has ended with "<-"; whether or not the session ends, so does the program.
        if (closed_) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        if (comboDefault_)
            SetWindowLongPtrA(Item(ids::kCboNic), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(comboDefault_));
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        hwnd_.Detach(); // the window is going: nothing is left to destroy
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The control last focused, or else the first in tab order (the adapter box when it is
// first shown).
void Form1Window::RestoreFocus() {
    const HWND hwnd = hwnd_.get();
    HWND target = focus_;
    if (!target || !IsWindow(target) || !IsChild(hwnd, target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    // Only a child: focusing the window itself would come back here.
    if (target && IsChild(hwnd, target)) SetFocus(target);
}

void Form1Window::OnClose(bool) {
    if (closed_) {
        DestroyWindow(hwnd_.get());
        return;
    }
    switch (form_.Form_QueryUnload()) {
    case CloseAnswer::Cancel:
        return;
    case CloseAnswer::EndAtOnce:
        ExitProcess(0);
    case CloseAnswer::Close:
        closed_ = true;
        DestroyWindow(hwnd_.get());
        return;
    }
}

void Form1Window::AddAdapterRow(const std::string& text) {
    const std::string ansi = ToAnsi(text);
    SendMessageA(Item(ids::kCboNic), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void Form1Window::SelectAdapterRow(int row) {
    SendMessageA(Item(ids::kCboNic), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int Form1Window::SelectedAdapterRow() const {
    const LRESULT row = SendMessageA(Item(ids::kCboNic), CB_GETCURSEL, 0, 0);
    return row == CB_ERR ? -1 : static_cast<int>(row);
}

CheckState Form1Window::ConnectedValue() const {
    switch (SendMessageA(Item(ids::kChkConnected), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return CheckState::Ticked;
    case BST_INDETERMINATE:
        return CheckState::Greyed;
    default:
        return CheckState::Unticked;
    }
}

void Form1Window::SetConnectedValue(CheckState state) {
    const WPARAM check = state == CheckState::Ticked   ? BST_CHECKED
                         : state == CheckState::Greyed ? BST_INDETERMINATE
                                                       : BST_UNCHECKED;
    SendMessageA(Item(ids::kChkConnected), BM_SETCHECK, check, 0);
}

void Form1Window::SetWriteEnabled(bool enabled) {
    EnableWindow(Item(ids::kCmdWrite), enabled);
}

void Form1Window::SetToggle(const std::string& caption, const std::string& toolTip) {
    const std::string text = ToAnsi(caption);
    SetWindowTextA(Item(ids::kCmdToggle), text.c_str());
    SendToolTip(TTM_UPDATETIPTEXTA, ids::kCmdToggle, toolTip);
}

void Form1Window::SetOuterHeight(int twips) {
    RECT r{};
    GetWindowRect(hwnd_.get(), &r);
    SetWindowPos(hwnd_.get(), nullptr, 0, 0, r.right - r.left, PxY(twips),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::SetOptionsTabStops(bool on) {
    for (const int id : {ids::kChkGates, ids::kChkIEAuto}) {
        const HWND box = Item(id);
        const LONG style = GetWindowLongA(box, GWL_STYLE);
        SetWindowLongA(box, GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void Form1Window::SetBusyPointer(bool busy) {
    busy_ = busy;
    POINT p{};
    RECT r{};
    if (GetCursorPos(&p) && GetWindowRect(hwnd_.get(), &r) && PtInRect(&r, p))
        SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool Form1Window::GatesTicked() const {
    return SendMessageA(Item(ids::kChkGates), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Form1Window::IEAutoTicked() const {
    return SendMessageA(Item(ids::kChkIEAuto), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace ww
