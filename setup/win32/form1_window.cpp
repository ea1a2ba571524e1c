#include "win32/form1_window.h"

#include <commctrl.h>

#include <iterator>

#include "seams/codepage.h"
#include "win32/control_ids.h"
#include "win32/resource.h"

namespace ww {
namespace {

constexpr char kClassName[] = "CorvaneWirewiseForm";
constexpr char kCaption[] = "Corvane Wirewise";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidth = 7185, kClientHeight = 1845; // twips
constexpr int kFrameLeft = 120, kFrameTop = 1920;        // Frame1, holder of the option boxes

struct ControlSpec {
    int id;
    const char* windowClass;
    const char* text;
    DWORD style;
    int left, top, width, height; // twips, inside the client area or inside Frame1
    bool inFrame;
    const char* toolTip;
};

constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

// In creation order, which is the tab order: cboNIC, chkConnected, cmdWrite, cmdToggle, chkGates,
// chkIEAuto; the label and the frame take no focus. The two options are tab stops only while
// they are shown (Form1 turns them on and off).
constexpr ControlSpec kControls[] = {
    {ids::kLabel2, "STATIC", "Network Adapters:", SS_LEFT, 120, 120, 6975, 255, false, nullptr},
    {ids::kCboNic, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 120, 360, 6975, 315,
     false, nullptr},
    {ids::kChkConnected, "BUTTON",
     "Please check that the adapter you have selected is connected to the router. When you have "
     "done so, tick this box.",
     kCheckBox | BS_MULTILINE, 120, 840, 5295, 615, false,
     "Tick when the network adapter is connected to the router"},
    {ids::kCmdWrite, "BUTTON", "Setup Network", kButton | WS_DISABLED, 5520, 840, 1575, 495, false,
     nullptr},
    {ids::kCmdToggle, "BUTTON", ">>", kButton, 6720, 1440, 375, 255, false, "Show Options"},
    {ids::kFrame1, "BUTTON", "Options", BS_GROUPBOX, kFrameLeft, kFrameTop, 6975, 615, false,
     nullptr},
    {ids::kChkGates, "BUTTON", "Clear Gateways", BS_AUTOCHECKBOX, 120, 240, 1455, 255, true,
     "Force Gateways to be cleared"},
    {ids::kChkIEAuto, "BUTTON", "Set IE to Auto Detect", BS_AUTOCHECKBOX, 1800, 240, 1935, 255,
     true, "Set Internet Explorer to Automatically Detect Settings"},
};

// Rows the open drop-down list shows before it scrolls.
constexpr int kDropDownRows = 8;

// The screen's device context for as long as it is needed.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

} // namespace

Form1Window::Form1Window(App& app, Win32Ui& ui, HINSTANCE instance)
    : app_(app), ui_(ui), instance_(instance), form_(app, *this) {
    ScreenDc screen;
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
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT r{0, 0, PxX(kClientWidth), PxY(kClientHeight)};
    AdjustWindowRectEx(&r, kWindowStyle, FALSE, WS_EX_CONTROLPARENT);
    const HWND hwnd = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, kCaption, kWindowStyle,
                                      CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                      r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd) return false;
    hwnd_.reset(hwnd);
    CreateControls();
    return true;
}

void Form1Window::CreateControls() {
    // The classic 8-point dialog face, at the system's DPI.
    font_.reset(CreateFontA(-MulDiv(8, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    HGDIOBJ font = font_.get() ? font_.get() : GetStockObject(DEFAULT_GUI_FONT);

    for (const ControlSpec& c : kControls) {
        const int left = c.left + (c.inFrame ? kFrameLeft : 0);
        const int top = c.top + (c.inFrame ? kFrameTop : 0);
        int height = PxY(c.height);
        if (c.id == ids::kCboNic) height += kDropDownRows * PxY(195); // the dropped list
        const std::string text = ToAnsi(c.text);
        const HWND control = CreateWindowExA(
            0, c.windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | c.style, PxX(left), PxY(top),
            PxX(c.width), height, hwnd_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
            instance_, nullptr);
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
        if (c.toolTip) AddToolTip(c.id, c.toolTip);
}

void Form1Window::AddToolTip(int id, const char* text) {
    if (!toolTips_) return;
    const std::string ansi = ToAnsi(text);
    TTTOOLINFOA ti{};
    // The size every common-controls version accepts.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_.get();
    ti.uId = reinterpret_cast<UINT_PTR>(Item(id));
    ti.lpszText = const_cast<char*>(ansi.c_str());
    SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
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
        hwnd_.reset(nullptr);
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

int Form1Window::ConnectedValue() const {
    switch (SendMessageA(Item(ids::kChkConnected), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return 1;
    case BST_INDETERMINATE:
        return 2;
    default:
        return 0;
    }
}

void Form1Window::SetConnectedValue(int value) {
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageA(Item(ids::kChkConnected), BM_SETCHECK, state, 0);
}

void Form1Window::SetWriteEnabled(bool enabled) {
    EnableWindow(Item(ids::kCmdWrite), enabled);
}

void Form1Window::SetToggle(const std::string& caption, const std::string& toolTip) {
    const std::string text = ToAnsi(caption);
    SetWindowTextA(Item(ids::kCmdToggle), text.c_str());
    if (!toolTips_) return;
    const std::string tip = ToAnsi(toolTip);
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = hwnd_.get();
    ti.uId = reinterpret_cast<UINT_PTR>(Item(ids::kCmdToggle));
    ti.lpszText = const_cast<char*>(tip.c_str());
    SendMessageA(toolTips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
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
