// Works a program's window the way a person would, from a script of one command per line.
// Run under Wine as "e2e_driver SCRIPT"; prints every command and ends with exit code 0 when
// all of them held, 1 at the first that did not (the program under test is then ended).
// "e2e_driver --help" lists the commands.
//
// Controls are named as in the window (cboNIC, chkConnected, ...; in gatekey's window txtHost,
// ledNet, ...) or by number (#104); controls inside a frame window are found too.
// Texts are double-quoted; \r \n \" \\ escapes work inside quotes. Times are in ms.
#include "driver.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "window/form1_layout.h"
#include "window/layout.h"

int Scaled(int ms) {
    static const int scale = [] {
        char text[16] = {};
        const DWORD n = GetEnvironmentVariableA("WINE_ENV_TIME_SCALE", text, sizeof text);
        const int value = n > 0 && n < sizeof text ? std::atoi(text) : 1;
        return value > 0 ? value : 1;
    }();
    return ms * scale;
}

std::string Format(const char* fmt, ...) {
    char buf[2048];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    return buf;
}

std::string Visible(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool BoxTextMatches(const std::string& want, const std::string& text) {
    if (!want.empty() && want.back() == '*')
        return text.compare(0, want.size() - 1, want, 0, want.size() - 1) == 0;
    return text == want;
}

namespace {

// A window's controls by their names there, from its control table (wirewise's or gatekey's;
// gatekey's caption selects its table).
template <class Table> std::map<std::string, int> ControlNames(const Table& table) {
    std::map<std::string, int> names;
    for (const auto& c : table)
        names[c.name] = c.id;
    return names;
}

struct DescendantArgs {
    int id;
    HWND found;
};

BOOL CALLBACK FindDescendantProc(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<DescendantArgs*>(lp);
    if (GetDlgCtrlID(h) != f->id) return TRUE;
    f->found = h;
    return FALSE;
}

struct FindArgs {
    DWORD pid;
    const char* windowClass;
    const std::string* caption;
    const std::string* boxText; // when set, only a message box that reads this
    HWND found;
};

BOOL CALLBACK FindTopLevelProc(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FindArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != f->pid || !IsWindowVisible(h)) return TRUE;
    char cls[64] = {}, text[512] = {};
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    if (f->windowClass && lstrcmpiA(cls, f->windowClass) != 0) return TRUE;
    if (*f->caption != text) return TRUE;
    if (f->boxText) {
        char body[4096] = {};
        GetDlgItemTextA(h, 0xFFFF, body, sizeof body);
        if (!BoxTextMatches(*f->boxText, body)) return TRUE;
    }
    f->found = h;
    return FALSE;
}

struct ToolTipArgs {
    DWORD pid;
    HWND owner, found;
};

BOOL CALLBACK FindToolTipProc(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<ToolTipArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (pid != f->pid || lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0) return TRUE;
    if (GetWindow(h, GW_OWNER) != f->owner) return TRUE;
    f->found = h;
    return FALSE;
}

// Memory in the program under test, for messages whose data must live there.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process),
          p_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
        if (!p_) throw Failure(Format("VirtualAllocEx failed, error %lu", GetLastError()));
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() { VirtualFreeEx(process_, p_, 0, MEM_RELEASE); }
    char* get() const { return static_cast<char*>(p_); }

  private:
    HANDLE process_;
    void* p_;
};

Args Tokenize(const std::string& line) {
    Args out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] == '#') break;
        std::string tok;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char e = line[++i];
                    tok += e == 'r' ? '\r' : e == 'n' ? '\n' : e;
                } else {
                    tok += line[i];
                }
                ++i;
            }
            if (i >= line.size()) throw Failure("unterminated quote");
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                tok += line[i++];
        }
        out.push_back(tok);
    }
    return out;
}

} // namespace

HWND Driver::Main() const {
    if (!mainWindow) throw Failure("no window yet (use: window CAPTION)");
    return mainWindow;
}

HWND Driver::Control(const std::string& name) const {
    int id;
    if (!name.empty() && name[0] == '#') {
        id = std::stoi(name.substr(1));
    } else {
        static const std::map<std::string, int> gatekeyNames = ControlNames(gk::kControls);
        static const std::map<std::string, int> wirewiseNames = ControlNames(ww::kControls);
        const auto& names = Text(Main()) == gk::kFormCaption ? gatekeyNames : wirewiseNames;
        auto it = names.find(name);
        if (it == names.end()) throw Failure("unknown control " + name);
        id = it->second;
    }
    HWND h = GetDlgItem(Main(), id);
    if (!h) {
        // Controls inside a container window (a frame) are the window's grandchildren.
        DescendantArgs args{id, nullptr};
        EnumChildWindows(Main(), FindDescendantProc, reinterpret_cast<LPARAM>(&args));
        h = args.found;
    }
    if (!h) throw Failure("no control " + name);
    return h;
}

HWND Driver::Focus() const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(process.pi.dwThreadId, &gui) ? gui.hwndFocus : nullptr;
}

HWND Driver::FindTopLevel(const std::string& caption) const {
    FindArgs args{process.pi.dwProcessId, nullptr, &caption, nullptr, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

HWND Driver::FindBox(const std::string* text) const {
    FindArgs args{process.pi.dwProcessId, "#32770", &boxTitle, text, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

std::string Driver::BoxText(HWND box) const {
    char text[4096] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

void Driver::AnswerBox(HWND box, const std::string& button) {
    static const std::map<std::string, int> ids = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    int id;
    if (button == "default") {
        // The answer that changes nothing: No where there is one, else OK, else Cancel.
        id = GetDlgItem(box, IDNO) ? IDNO : GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
    } else {
        auto it = ids.find(button);
        if (it == ids.end()) throw Failure("unknown button " + button);
        id = it->second;
    }
    HWND b = GetDlgItem(box, id);
    if (!b) throw Failure("the box has no button " + button);
    PostMessageA(b, BM_CLICK, 0, 0);
    for (int waited = 0; IsWindow(box) && IsWindowVisible(box); waited += 20) {
        if (waited > Scaled(10000)) throw Failure("the box did not close");
        Sleep(20);
    }
}

void Driver::AnswerDefault(HWND box) {
    std::printf("box: %s\n", Visible(BoxText(box)).c_str());
    std::fflush(stdout);
    AnswerBox(box, "default");
}

// Its handler has finished or waits in a modal loop.
bool Driver::Sync(int timeoutMs) const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(Main(), WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                               &ignored) != 0;
}

void Driver::Settle(int timeoutMs) {
    const DWORD start = GetTickCount();
    int quiet = 0;
    while (quiet < 2) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs))
            throw Failure("the program did not settle");
        if (WaitForSingleObject(process.pi.hProcess, 0) == WAIT_OBJECT_0) return;
        if (!Sync(timeoutMs)) throw Failure("the program does not answer");
        if (HWND box = FindBox()) {
            AnswerDefault(box);
            quiet = 0;
            continue;
        }
        ++quiet;
        Sleep(30);
    }
}

std::string Driver::Text(HWND h) const {
    char text[4096] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        static_cast<UINT>(Scaled(5000)), &n);
    return text;
}

std::string Driver::ToolTip(HWND control) const {
    ToolTipArgs args{process.pi.dwProcessId, Main(), nullptr};
    EnumWindows(FindToolTipProc, reinterpret_cast<LPARAM>(&args));
    if (!args.found) return "<no tool tips>";

    // The tool's text must be asked for with a record in the program's own memory.
    constexpr size_t kTextOffset = 256, kTextSize = 512;
    RemoteBuffer remote(process.pi.hProcess, kTextOffset + kTextSize);
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = Main();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = remote.get() + kTextOffset;
    const char zero[kTextSize] = {};
    SIZE_T n = 0;
    WriteProcessMemory(process.pi.hProcess, remote.get(), &ti, ti.cbSize, &n);
    WriteProcessMemory(process.pi.hProcess, remote.get() + kTextOffset, zero, kTextSize, &n);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(args.found, TTM_GETTEXTA, kTextSize, reinterpret_cast<LPARAM>(remote.get()),
                        SMTO_NORMAL, static_cast<UINT>(Scaled(5000)), &ignored);
    char text[kTextSize] = {};
    ReadProcessMemory(process.pi.hProcess, remote.get() + kTextOffset, text, kTextSize - 1, &n);
    return text;
}

HCURSOR Driver::PointerOver(HWND h) const {
    RECT r{};
    GetWindowRect(h, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    // Only a disabled window lets the point through to its parent.
    const POINT p{x, y};
    const HWND under = WindowFromPoint(p);
    if (under != h && !IsChild(h, under) && GetAncestor(under, GA_ROOT) != GetAncestor(h, GA_ROOT))
        throw Failure("another window covers the middle of the control (drag-box first?)");
    SetCursorPos(x - 2, y - 2);
    Sleep(50);
    SetCursorPos(x, y);
    // The program sets its pointer when it reads the move; Wine reports that of the program
    // whose window is in front.
    Sleep(300);
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) throw Failure("cannot read the pointer");
    return info.hCursor;
}

void Driver::Dump() const {
    if (!mainWindow || !IsWindow(mainWindow)) return;
    RECT w{};
    GetWindowRect(mainWindow, &w);
    const HWND focus = Focus();
    std::printf("window \"%s\" %ldx%ld px (dpi %d), focus #%d\n", Text(mainWindow).c_str(),
                w.right - w.left, w.bottom - w.top, dpiY, focus ? GetDlgCtrlID(focus) : 0);
    for (HWND h = GetWindow(mainWindow, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&r), 2);
        std::printf("  #%d %s \"%s\" at %ld,%ld %ldx%ld enabled=%d checked=%d\n", GetDlgCtrlID(h),
                    cls, Visible(Text(h)).c_str(), r.left, r.top, r.right - r.left,
                    r.bottom - r.top, IsWindowEnabled(h) ? 1 : 0,
                    static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0)));
    }
    std::fflush(stdout);
}

int Driver::Run(const std::string& scriptPath) {
    if (HDC screen = GetDC(nullptr)) {
        dpiX = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    std::ifstream in(scriptPath);
    if (!in) {
        std::printf("FAIL: cannot read %s\n", scriptPath.c_str());
        return 1;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        try {
            const Args args = Tokenize(line);
            if (args.empty()) continue;
            std::printf("> %s\n", line.c_str());
            std::fflush(stdout);
            Execute(*this, args);
        } catch (const std::exception& e) {
            std::printf("FAIL at line %d: %s\n  %s\n", number, line.c_str(), e.what());
            Dump();
            if (process.pi.hProcess && WaitForSingleObject(process.pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.pi.hProcess, 99);
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintHelp();
        return 0;
    }
    if (argc != 2) {
        std::printf("usage: e2e_driver SCRIPT (e2e_driver --help lists the commands)\n");
        return 2;
    }
    Driver driver;
    return driver.Run(argv[1]);
}
