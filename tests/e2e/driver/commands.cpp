// The script's commands: one table row each (name, the words it takes, what it does, handler)
// and one small function each. Execute looks the name up, checks that the words it cannot do
// without are there and runs it.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "driver.h"
#include "file_checks.h"
#include "reg_checks.h"
#include "win32/led_window.h"

namespace {

using Handler = void (*)(Driver&, const Args&);

struct Command {
    const char* name;
    const char* usage; // the words that follow the name; those in [brackets] may be left out
    const char* does;
    Handler run;
};

// How many words a command cannot do without.
size_t Required(const std::string& usage) {
    std::istringstream words(usage);
    size_t n = 0;
    for (std::string w; words >> w;)
        n += w[0] == '[' ? 0 : 1;
    return n;
}

// The optional time at a[at], in ms.
int Timeout(const Args& a, size_t at, int fallback) {
    return Scaled(a.size() > at ? std::stoi(a[at]) : fallback);
}

// A key pressed and released in `window` as the keyboard gives it (repeat count 1, scan code
// `scan`; with Alt held a system key with the context bit), posted through the program's loop.
void PostKey(HWND window, WPARAM vk, DWORD scan, bool alt) {
    const DWORD down = 1u | scan << 16 | (alt ? 0x20000000u : 0u);
    PostMessageA(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, static_cast<LPARAM>(down));
    PostMessageA(window, alt ? WM_SYSKEYUP : WM_KEYUP, vk, static_cast<LPARAM>(down | 0xC0000000u));
}

HWND FocusOrFail(const Driver& d) {
    const HWND focus = d.Focus();
    if (!focus) throw Failure("no control has the focus");
    return focus;
}

// CONTROL's place in the window's client area, in pixels.
RECT PlaceInClient(const Driver& d, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, d.Main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Polls until the number read from CONTROL (a[1]) is N (a[2]; 0x... for hexadecimal).
template <class Read> void ExpectNumber(Driver& d, const Args& a, Read read) {
    const long long want = std::stoll(a[2], nullptr, 0);
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const long long got = read(d.Control(a[1]));
        return got == want ? "" : Format("%s: %s is %lld", a[0].c_str(), a[1].c_str(), got);
    });
}

// --- the program and its window

// The script is UTF-8: a program in a folder whose name the ANSI code page lacks starts too.
void Start(Driver& d, const Args& a) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const std::string quoted = "\"" + a[1] + "\"";
    std::wstring commandLine(quoted.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, quoted.data(), static_cast<int>(quoted.size()),
                                      commandLine.data(), static_cast<int>(commandLine.size()));
    commandLine.resize(static_cast<size_t>(n));
    if (n == 0 || !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &d.process.pi))
        throw Failure(Format("cannot start %s, error %lu", a[1].c_str(), GetLastError()));
}

void Window(Driver& d, const Args& a) {
    d.Expect(Timeout(a, 2, 30000), [&]() -> std::string {
        if (WaitForSingleObject(d.process.pi.hProcess, 0) == WAIT_OBJECT_0)
            throw Failure("the program ended before its window showed");
        d.mainWindow = d.FindTopLevel(a[1]);
        if (d.mainWindow && d.FindBox() != d.mainWindow) return "";
        d.mainWindow = nullptr;
        HWND box = d.FindBox();
        return box ? "a message box is open: " + Visible(d.BoxText(box))
                   : "no window \"" + a[1] + "\"";
    });
}

void Title(Driver& d, const Args& a) {
    d.boxTitle = a[1];
}

void Settle(Driver& d, const Args& a) {
    d.Settle(Timeout(a, 1, 60000));
}

void Close(Driver& d, const Args&) {
    PostMessageA(d.Main(), WM_CLOSE, 0, 0);
}

void ExpectExit(Driver& d, const Args& a) {
    const DWORD want = static_cast<DWORD>(a.size() > 1 ? std::stoul(a[1]) : 0);
    if (WaitForSingleObject(d.process.pi.hProcess, static_cast<DWORD>(Timeout(a, 2, 30000))) !=
        WAIT_OBJECT_0) {
        if (HWND box = d.FindBox())
            throw Failure("the program still runs; a box is open: " + Visible(d.BoxText(box)));
        throw Failure("the program still runs");
    }
    DWORD code = 0;
    GetExitCodeProcess(d.process.pi.hProcess, &code);
    if (code != want) throw Failure(Format("exit code %lu, expected %lu", code, want));
    d.mainWindow = nullptr;
}

void Another(Driver& d, const Args& a) {
    if (d.parked.pi.hProcess) throw Failure("a copy is set aside already");
    std::swap(d.process.pi, d.parked.pi);
    d.parkedWindow = std::exchange(d.mainWindow, nullptr);
    Start(d, a);
}

void Back(Driver& d, const Args&) {
    if (!d.parked.pi.hProcess) throw Failure("no copy is set aside (use: another PROGRAM)");
    if (WaitForSingleObject(d.process.pi.hProcess, 0) != WAIT_OBJECT_0)
        throw Failure("the other copy still runs");
    std::swap(d.process.pi, d.parked.pi);
    d.mainWindow = std::exchange(d.parkedWindow, nullptr);
    CloseHandle(d.parked.pi.hThread);
    CloseHandle(d.parked.pi.hProcess);
    d.parked.pi = {};
}

void Minimize(Driver& d, const Args&) {
    PostMessageA(d.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    d.Expect(Driver::Wait(), [&]() -> std::string {
        return IsIconic(d.Main()) ? "" : "the window is not minimised";
    });
}

void ExpectFront(Driver& d, const Args&) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        if (IsIconic(d.Main())) return "the window is minimised";
        return GetForegroundWindow() == d.Main() ? "" : "the program's window is not in front";
    });
}

// Opens FILE for reading and writing, sharing both, as a tool that keeps a file open does; the
// handle stays open until the driver ends.
void Hold(Driver&, const Args& a) {
    const HANDLE file =
        CreateFileA(a[1].c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw Failure(Format("cannot open %s, error %lu", a[1].c_str(), GetLastError()));
}

void Restore(Driver& d, const Args&) {
    PostMessageA(d.Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    d.Settle(Driver::Wait());
}

void Maximize(Driver& d, const Args&) {
    PostMessageA(d.Main(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    d.Settle(Driver::Wait());
}

void Switch(Driver& d, const Args&) {
    HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    d.Expect(Driver::Wait(), [&]() -> std::string {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        return GetForegroundWindow() == other ? "" : "the other window is not in front";
    });
    d.Settle(Driver::Wait());
    SetForegroundWindow(d.Main());
    d.Expect(Driver::Wait(), [&]() -> std::string {
        return GetForegroundWindow() == d.Main() ? "" : "the program's window is not in front";
    });
    DestroyWindow(other);
    d.Settle(Driver::Wait());
}

// --- working the controls

void Press(Driver& d, const Args& a) {
    PostMessageA(d.Control(a[1]), BM_CLICK, 0, 0);
}

void Click(Driver& d, const Args& a) {
    PostMessageA(d.Control(a[1]), BM_CLICK, 0, 0);
    d.Settle(Timeout(a, 2, 60000));
}

void SetTicked(Driver& d, const Args& a, LRESULT want) {
    HWND h = d.Control(a[1]);
    if (SendMessageA(h, BM_GETCHECK, 0, 0) != want) SendMessageA(h, BM_CLICK, 0, 0);
    d.Expect(Driver::Wait(), [&]() -> std::string {
        return SendMessageA(h, BM_GETCHECK, 0, 0) == want ? "" : a[1] + " did not change";
    });
}

void Tick(Driver& d, const Args& a) {
    SetTicked(d, a, BST_CHECKED);
}

void Untick(Driver& d, const Args& a) {
    SetTicked(d, a, BST_UNCHECKED);
}

// As a person picking a row: the list reports the new choice to its parent.
void Select(Driver& d, const Args& a) {
    HWND h = d.Control(a[1]);
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(std::stoi(a[2])), 0);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(d.Main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(h), SMTO_NORMAL, Driver::Wait(), &ignored);
}

void Key(Driver& d, const Args& a) {
    HWND h = d.Control(a[1]);
    const std::string& k = a[2];
    static const std::map<std::string, WPARAM> keys = {
        {"down", VK_DOWN}, {"up", VK_UP}, {"home", VK_HOME}, {"end", VK_END}};
    const bool isChar = k.rfind("char:", 0) == 0;
    WPARAM vk;
    if (isChar && k.size() == 6) {
        vk = static_cast<WPARAM>(VkKeyScanA(k[5]) & 0xFF);
    } else {
        auto it = keys.find(k);
        if (it == keys.end()) throw Failure("unknown key " + k);
        vk = it->second;
    }
    SendMessageA(h, WM_KEYDOWN, vk, 1);
    if (isChar) SendMessageA(h, WM_CHAR, static_cast<WPARAM>(k[5]), 1);
    SendMessageA(h, WM_KEYUP, vk, 0xC0000001);
}

void Keystroke(Driver& d, const Args& a) {
    static const std::map<std::string, WPARAM> keys = {
        {"enter", VK_RETURN}, {"space", VK_SPACE}, {"escape", VK_ESCAPE}, {"down", VK_DOWN},
        {"up", VK_UP},        {"left", VK_LEFT},   {"right", VK_RIGHT}};
    const HWND focus = FocusOrFail(d);
    const std::string& k = a[1];
    if (k.rfind("alt+", 0) == 0 && k.size() == 5) {
        // With Alt held the keys are system keys; the program's own TranslateMessage makes the
        // WM_SYSCHAR of them.
        PostKey(focus, static_cast<WPARAM>(VkKeyScanA(k[4]) & 0xFF), 0, true);
        return;
    }
    const auto it = keys.find(k);
    if (it == keys.end()) throw Failure("unknown key " + k);
    PostKey(focus, it->second, 0, false);
}

void Type(Driver& d, const Args& a) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(d.Control(a[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()),
                        SMTO_NORMAL, Driver::Wait(), &ignored);
}

// A click into the control; the control that had the focus loses it.
void Focus(Driver& d, const Args& a) {
    HWND h = d.Control(a[1]);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    d.Expect(Driver::Wait(), [&]() -> std::string {
        return d.Focus() == h ? "" : a[1] + " did not get the focus";
    });
    d.Settle(Driver::Wait());
}

void Tab(Driver& d, const Args&) {
    const HWND from = FocusOrFail(d);
    PostKey(from, VK_TAB, 0x0F, false);
    d.Expect(Driver::Wait(),
             [&]() -> std::string { return d.Focus() != from ? "" : "the focus did not move"; });
    d.Settle(Driver::Wait());
}

// --- message boxes

void ExpectBox(Driver& d, const Args& a) {
    HWND box = nullptr;
    d.Expect(Timeout(a, 3, 30000), [&]() -> std::string {
        box = d.FindBox(&a[1]);
        if (box) return "";
        HWND other = d.FindBox();
        return other ? "the box reads \"" + Visible(d.BoxText(other)) + "\""
                     : "no message box \"" + d.boxTitle + "\"";
    });
    d.AnswerBox(box, a[2]);
}

// Waits until a box reads TEXT and leaves it open; other boxes met on the way are answered with
// their default, as settle does.
void AwaitBox(Driver& d, const Args& a) {
    d.Expect(Timeout(a, 2, 60000), [&]() -> std::string {
        if (d.FindBox(&a[1])) return "";
        // The box may have come up just after the first look.
        if (HWND other = d.FindBox(); other && !BoxTextMatches(a[1], d.BoxText(other)))
            d.AnswerDefault(other);
        return "no message box reads \"" + Visible(a[1]) + "\"";
    });
}

void ExpectNoBox(Driver& d, const Args&) {
    if (!d.Sync(Driver::Wait())) throw Failure("the program does not answer");
    if (HWND box = d.FindBox()) throw Failure("a message box is open: " + Visible(d.BoxText(box)));
}

// The open box moved aside, its top-left corner to X,Y (screen pixels), as a person drags it by
// its caption to see the window below.
void DragBox(Driver& d, const Args& a) {
    const HWND box = d.FindBox();
    if (!box) throw Failure("no message box \"" + d.boxTitle + "\"");
    const int x = std::stoi(a[1]), y = std::stoi(a[2]);
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    d.Expect(Driver::Wait(), [&]() -> std::string {
        RECT r{};
        GetWindowRect(box, &r);
        return r.left == x && r.top == y ? "" : "the box did not move";
    });
}

// The pointer over CONTROL while a message box of the program is open: "arrow" is the one the
// program shows over that box, "busy" any other.
void ExpectPointer(Driver& d, const Args& a) {
    const HWND box = d.FindBox();
    if (!box) throw Failure("expect-pointer needs an open message box");
    const HWND text = GetDlgItem(box, 0xFFFF);
    const HCURSOR arrow = d.PointerOver(text ? text : box);
    const bool wantArrow = a[2] == "arrow";
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const bool isArrow = d.PointerOver(d.Control(a[1])) == arrow;
        return isArrow == wantArrow
                   ? ""
                   : "the pointer over " + a[1] + (isArrow ? " is the arrow" : " is not the arrow");
    });
}

// --- what the window shows

void ExpectText(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const std::string t = d.Text(d.Control(a[1]));
        return t == a[2] ? "" : a[1] + " reads \"" + Visible(t) + "\"";
    });
}

void ExpectEnabled(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) { return IsWindowEnabled(h) ? 1 : 0; });
}

void ExpectChecked(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) { return static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0)); });
}

void ExpectRows(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) { return static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0)); });
}

void ExpectSelected(Driver& d, const Args& a) {
    ExpectNumber(d, a,
                 [](HWND h) { return static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0)); });
}

void ExpectVisible(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) { return IsWindowVisible(h) ? 1 : 0; });
}

void ExpectPasswordChar(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) {
        DWORD_PTR got = 0;
        SendMessageTimeoutA(h, EM_GETPASSWORDCHAR, 0, 0, SMTO_NORMAL, Driver::Wait(), &got);
        return static_cast<long long>(got);
    });
}

void ExpectFill(Driver& d, const Args& a) {
    ExpectNumber(d, a, [](HWND h) {
        DWORD_PTR got = 0;
        SendMessageTimeoutA(h, gk::LEDM_GETFILLCOLOR, 0, 0, SMTO_NORMAL, Driver::Wait(), &got);
        return static_cast<long long>(got);
    });
}

// Wine hands another process's rows over in UTF-16 whatever the A call asked for: ask for
// UTF-16 and convert here.
void ExpectRow(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        HWND h = d.Control(a[1]);
        const WPARAM row = static_cast<WPARAM>(std::stoi(a[2]));
        const LRESULT len = SendMessageW(h, CB_GETLBTEXTLEN, row, 0);
        if (len == CB_ERR) return "no row " + a[2];
        std::wstring w(static_cast<size_t>(len) + 1, L'\0');
        SendMessageW(h, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(w.data()));
        std::string t(static_cast<size_t>(len) * 2 + 1, '\0');
        const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(len), t.data(),
                                          static_cast<int>(t.size()), nullptr, nullptr);
        t.resize(static_cast<size_t>(n > 0 ? n : 0));
        return t == a[3] ? "" : "row " + a[2] + " reads \"" + t + "\"";
    });
}

void ExpectTooltip(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const std::string t = d.ToolTip(d.Control(a[1]));
        return t == a[2] ? "" : a[1] + " tool tip reads \"" + t + "\"";
    });
}

void ExpectFocus(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        return d.Focus() == d.Control(a[1]) ? "" : a[1] + " has not the focus";
    });
}

void ExpectFocusWithin(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const HWND focus = d.Focus();
        const HWND h = d.Control(a[1]);
        if (focus && (focus == h || IsChild(h, focus))) return "";
        char cls[64] = {};
        if (focus) GetClassNameA(focus, cls, sizeof cls);
        return a[1] + " has not the focus; it is in " +
               (focus ? Format("#%d %s", GetDlgCtrlID(focus), cls) : std::string("no window"));
    });
}

// The controls that take the focus, in the order Tab visits them (disabled ones too).
void ExpectTabOrder(Driver& d, const Args& a) {
    std::string want, got;
    for (size_t i = 1; i < a.size(); ++i)
        want += Format("%d ", GetDlgCtrlID(d.Control(a[i])));
    for (HWND h = GetWindow(d.Main(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) got += Format("%d ", GetDlgCtrlID(h));
    if (got != want) throw Failure("tab order by id: " + got + "expected " + want);
}

// --- sizes and places, in twips as the window's description gives them

void ExpectOuterHeight(Driver& d, const Args& a) {
    const int want = d.PxY(std::stoi(a[1]));
    d.Expect(Driver::Wait(), [&]() -> std::string {
        RECT r{};
        GetWindowRect(d.Main(), &r);
        const int got = r.bottom - r.top;
        return got == want ? "" : Format("outer height %d px, expected %d px", got, want);
    });
}

void ExpectClient(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        RECT r{};
        GetClientRect(d.Main(), &r);
        const int w = d.PxX(std::stoi(a[1])), h = d.PxY(std::stoi(a[2]));
        return r.right == w && r.bottom == h
                   ? ""
                   : Format("client %ldx%ld px, expected %dx%d", r.right, r.bottom, w, h);
    });
}

void ExpectPlace(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const RECT r = PlaceInClient(d, d.Control(a[1]));
        const int l = d.PxX(std::stoi(a[2])), t = d.PxY(std::stoi(a[3]));
        const int w = d.PxX(std::stoi(a[4])), h = d.PxY(std::stoi(a[5]));
        return r.left == l && r.top == t && r.right - r.left == w && r.bottom - r.top == h
                   ? ""
                   : Format("%s at %ld,%ld %ldx%ld px, expected %d,%d %dx%d", a[1].c_str(), r.left,
                            r.top, r.right - r.left, r.bottom - r.top, l, t, w, h);
    });
}

void ExpectInView(Driver& d, const Args& a) {
    const bool want = a[2] == "1";
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const RECT r = PlaceInClient(d, d.Control(a[1]));
        RECT client{};
        GetClientRect(d.Main(), &client);
        const bool inView = r.bottom <= client.bottom;
        return inView == want ? "" : a[1] + (inView ? " is in view" : " is out of view");
    });
}

void ExpectFills(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const RECT r = PlaceInClient(d, d.Control(a[1]));
        RECT client{};
        GetClientRect(d.Main(), &client);
        return EqualRect(&r, &client)
                   ? ""
                   : Format("%s at %ld,%ld %ldx%ld px, client %ldx%ld", a[1].c_str(), r.left, r.top,
                            r.right - r.left, r.bottom - r.top, client.right, client.bottom);
    });
}

void ExpectZoomed(Driver& d, const Args& a) {
    d.Expect(Driver::Wait(), [&]() -> std::string {
        const int got = IsZoomed(d.Main()) ? 1 : 0;
        return got == std::stoi(a[1]) ? "" : Format("the window's zoomed state is %d", got);
    });
}

// --- the registry

void ExpectReg(Driver&, const Args& a) {
    const std::string got = RegQueryText(a[1], a[2]);
    if (got != a[3])
        throw Failure("registry " + a[1] + " \\ " + a[2] + " is \"" + got + "\", expected \"" +
                      a[3] + "\"");
}

// --- the program's files

void ExpectVersion(Driver&, const Args& a) {
    const std::string got = VersionText(a[1], a[2]);
    if (got != a[3]) throw Failure(a[2] + " reads \"" + got + "\"");
}

void ExpectManifest(Driver&, const Args& a) {
    const std::string manifest = ManifestText(a[1]);
    if (manifest.find(a[2]) == std::string::npos)
        throw Failure("the manifest lacks " + a[2] + ": " + manifest);
}

void ExpectIcons(Driver&, const Args& a) {
    const std::string wanted = SortedList({a.begin() + 2, a.end()});
    const std::string got = IconEntries(a[1]);
    if (got != wanted) throw Failure("the icon holds " + got + "; expected " + wanted);
}

// --- the web server

void Listen(Driver& d, const Args& a) {
    if (!d.http.Start(std::stoi(a[1]))) throw Failure("cannot listen on port " + a[1]);
}

void Connect(Driver& d, const Args& a) {
    if (!d.idle.Open(std::stoi(a[1]), a.size() > 2 ? a[2] : ""))
        throw Failure("cannot connect to port " + a[1]);
}

void ExpectRequest(Driver& d, const Args& a) {
    const size_t n = static_cast<size_t>(std::stoi(a[1]));
    d.Expect(Timeout(a, 3, 30000), [&]() -> std::string {
        const std::vector<std::string> requests = d.http.Requests();
        if (requests.size() < n) return Format("%u requests so far", unsigned(requests.size()));
        std::istringstream lines(requests[n - 1]);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == a[2]) return "";
        }
        return "request " + a[1] + " lacks \"" + a[2] + "\": " + Visible(requests[n - 1]);
    });
}

void ExpectRequests(Driver& d, const Args& a) {
    d.Settle(Driver::Wait());
    const size_t got = d.http.Requests().size();
    if (got != static_cast<size_t>(std::stoi(a[1])))
        throw Failure(Format("%u requests, expected %s", unsigned(got), a[1].c_str()));
}

// --- the script itself

// Lets the shell act (e.g. take a screenshot) while the program waits: NAME.ready appears, the
// driver goes on when NAME.go exists.
void Checkpoint(Driver& d, const Args& a) {
    std::ofstream(a[1] + ".ready").put('\n');
    d.Expect(Timeout(a, 2, 30000), [&]() -> std::string {
        return GetFileAttributesA((a[1] + ".go").c_str()) != INVALID_FILE_ATTRIBUTES
                   ? ""
                   : "nobody answered checkpoint " + a[1];
    });
}

void Dump(Driver& d, const Args&) {
    d.Dump();
}

void SleepFor(Driver&, const Args& a) {
    Sleep(static_cast<DWORD>(std::stoi(a[1])));
}

const Command kCommands[] = {
    {"start", "PROGRAM", "starts the program", Start},
    {"window", "CAPTION [ms]", "waits for the program's window", Window},
    {"title", "TEXT", "the caption of the program's message boxes", Title},
    {"settle", "[ms]", "waits until the program reads its messages, answering boxes", Settle},
    {"close", "", "closes the window", Close},
    {"expect-exit", "[CODE] [ms]", "the program ends with CODE (0)", ExpectExit},
    {"another", "PROGRAM", "sets the running copy aside and starts another", Another},
    {"back", "", "the other copy has ended: back to the one set aside", Back},
    {"restore", "", "restores the window", Restore},
    {"minimize", "", "minimises the window", Minimize},
    {"expect-front", "", "the window is shown and in front", ExpectFront},
    {"hold", "FILE", "keeps FILE open for reading and writing, sharing both", Hold},
    {"maximize", "", "maximises the window", Maximize},
    {"switch", "", "another program's window comes to the front and goes again", Switch},
    {"click", "CONTROL [ms]", "clicks, then settles", Click},
    {"press", "CONTROL", "clicks only (expect-box for the box that follows)", Press},
    {"tick", "CONTROL", "ticks a check box", Tick},
    {"untick", "CONTROL", "unticks a check box", Untick},
    {"select", "CONTROL ROW", "picks a row of a list", Select},
    {"key", "CONTROL down|up|home|end|char:X", "a key sent straight to the control", Key},
    {"keystroke", "enter|space|escape|down|up|left|right|alt+X",
     "a key in the focused control, through the program's loop (posted only)", Keystroke},
    {"type", "CONTROL TEXT", "replaces the text as a paste would; the control reports it", Type},
    {"focus", "CONTROL", "clicks into the control", Focus},
    {"tab", "", "presses Tab in the focused control, through the program's loop", Tab},
    {"expect-box", "TEXT ok|yes|no|cancel [ms]", "answers the box that reads TEXT (TEXT*)",
     ExpectBox},
    {"await-box", "TEXT [ms]", "waits for the box that reads TEXT and leaves it open", AwaitBox},
    {"expect-no-box", "", "no box of the program is open once it reads its messages", ExpectNoBox},
    {"drag-box", "X Y", "moves the open box's corner to screen pixel X,Y", DragBox},
    {"expect-pointer", "CONTROL arrow|busy", "the pointer over CONTROL, a box being open",
     ExpectPointer},
    {"expect-text", "CONTROL TEXT", "the control's text", ExpectText},
    {"expect-enabled", "CONTROL 0|1", "the control is enabled", ExpectEnabled},
    {"expect-checked", "CONTROL N", "the check box's state", ExpectChecked},
    {"expect-rows", "CONTROL N", "the list's row count", ExpectRows},
    {"expect-selected", "CONTROL N", "the list's chosen row (-1 none)", ExpectSelected},
    {"expect-row", "CONTROL ROW TEXT", "a row's text", ExpectRow},
    {"expect-visible", "CONTROL 0|1", "the control is visible", ExpectVisible},
    {"expect-password-char", "CONTROL N", "the password character (0 none, 42 \"*\")",
     ExpectPasswordChar},
    {"expect-fill", "LAMP COLOUR", "the lamp's fill (OLE colour, 0x00FF00)", ExpectFill},
    {"expect-tooltip", "CONTROL TEXT", "the control's tool tip", ExpectTooltip},
    {"expect-focus", "CONTROL", "the control has the focus", ExpectFocus},
    {"expect-focus-within", "CONTROL", "the focus is in the control or a window inside it",
     ExpectFocusWithin},
    {"expect-tab-order", "CONTROL...", "the tab stops of the window in order", ExpectTabOrder},
    {"expect-outer-height", "TWIPS", "the window's outer height", ExpectOuterHeight},
    {"expect-client", "WIDTH HEIGHT", "the client area in twips", ExpectClient},
    {"expect-place", "CONTROL LEFT TOP WIDTH HEIGHT", "the control's place in the client area",
     ExpectPlace},
    {"expect-in-view", "CONTROL 0|1", "the control's bottom is inside the client area",
     ExpectInView},
    {"expect-fills", "CONTROL", "the control covers the whole client area", ExpectFills},
    {"expect-zoomed", "0|1", "the window is maximised", ExpectZoomed},
    {"expect-reg", "KEY VALUE DATA", "a registry value's data as \"reg query\" shows it",
     ExpectReg},
    {"expect-version", "FILE KEY|fixed TEXT", "a string of the version resource", ExpectVersion},
    {"expect-manifest", "FILE TEXT", "the embedded manifest contains TEXT", ExpectManifest},
    {"expect-icons", "FILE WxHxBITS...",
     "the images of the file's icon, in any order, black where masked", ExpectIcons},
    {"listen", "PORT", "serves HTTP on 127.0.0.1:PORT", Listen},
    {"connect", "PORT [TEXT]",
     "a connection to 127.0.0.1:PORT that sends TEXT and stays open, as a browser's spare one",
     Connect},
    {"expect-request", "N LINE [ms]", "request N (from 1) has the head line LINE", ExpectRequest},
    {"expect-requests", "N", "N requests came, after settle", ExpectRequests},
    {"checkpoint", "NAME [ms]", "writes NAME.ready, waits for NAME.go", Checkpoint},
    {"dump", "", "prints the window and its controls", Dump},
    {"sleep", "MS", "waits", SleepFor},
};

} // namespace

void Execute(Driver& driver, const Args& args) {
    for (const Command& c : kCommands) {
        if (args[0] != c.name) continue;
        if (args.size() < 1 + Required(c.usage))
            throw Failure(std::string("usage: ") + c.name + " " + c.usage);
        c.run(driver, args);
        return;
    }
    throw Failure("unknown command " + args[0]);
}

void PrintHelp() {
    std::printf("e2e_driver SCRIPT: one command a line, # a comment, texts in double quotes\n");
    for (const Command& c : kCommands)
        std::printf("  %s %s\n      %s\n", c.name, c.usage, c.does);
}
