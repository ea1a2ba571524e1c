// Works a program's window the way a person would, from a script of one command per line.
// Run under Wine as "e2e_driver SCRIPT"; prints every command and ends with exit code 0 when
// all of them held, 1 at the first that did not (the program under test is then ended).
//
// Controls are named as in the window (cboNIC, chkConnected, ...; in gatekey's window txtHost,
// ledNet, ...) or by number (#104); controls inside a frame window are found too.
// Texts are double-quoted; \r \n \" \\ escapes work inside quotes. Times are in ms.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "http_listener.h"
#include "window/form1_layout.h"
#include "window/layout.h"

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Format(const char* fmt, ...) {
    char buf[2048];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    return buf;
}

// Shows control characters so that failure messages stay on one line.
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

// The setup window's controls by their names there.
std::map<std::string, int> WirewiseControlNames() {
    std::map<std::string, int> names;
    for (const ww::ControlSpec& c : ww::kControls)
        names[c.name] = c.id;
    return names;
}

// The login window's controls by their names there (gatekey's caption selects them).
std::map<std::string, int> GatekeyControlNames() {
    std::map<std::string, int> names;
    for (const gk::ControlSpec& c : gk::kControls)
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

std::vector<std::string> Tokenize(const std::string& line) {
    std::vector<std::string> out;
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

class ProcessHandles {
  public:
    ProcessHandles() = default;
    ProcessHandles(const ProcessHandles&) = delete;
    ProcessHandles& operator=(const ProcessHandles&) = delete;
    ~ProcessHandles() {
        if (pi.hThread) CloseHandle(pi.hThread);
        if (pi.hProcess) CloseHandle(pi.hProcess);
    }
    PROCESS_INFORMATION pi{};
};

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

class Driver {
  public:
    int Run(const std::string& scriptPath);

  private:
    void Execute(const std::vector<std::string>& a);
    void Need(const std::vector<std::string>& a, size_t n, const char* usage) const {
        if (a.size() < n) throw Failure(std::string("usage: ") + usage);
    }
    HWND Main() const {
        if (!main_) throw Failure("no window yet (use: window CAPTION)");
        return main_;
    }
    HWND Control(const std::string& name) const;
    int Timeout(const std::vector<std::string>& a, size_t at, int fallback) const {
        return a.size() > at ? std::stoi(a[at]) : fallback;
    }
    int PxY(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    int PxX(int twips) const { return MulDiv(twips, dpiX_, 1440); }

    HWND FindTopLevel(const char* windowClass, const std::string& caption) const;
    // A message box of the program; with text, the one that reads it (boxes may be stacked).
    HWND FindBox(const std::string* text = nullptr) const;
    std::string BoxText(HWND box) const;
    void AnswerBox(HWND box, const std::string& button);
    void Settle(int timeoutMs);
    bool Sync(int timeoutMs) const;
    std::string Text(HWND h) const;
    std::string ToolTip(HWND control) const;
    // Polls check() until it returns "" or the time is up; the last complaint is the failure.
    template <class Check> void Expect(int timeoutMs, Check check) const;
    void Dump() const;
    static std::string VersionText(const std::string& file, const std::string& key);
    static std::string ManifestText(const std::string& file);
    static std::string IconEntries(const std::string& file);
    HCURSOR PointerOver(HWND h) const;

    ProcessHandles process_;
    HttpListener http_;
    HWND main_ = nullptr;
    std::string boxTitle_ = "Corvane Wirewise";
    int dpiX_ = 96, dpiY_ = 96;
};

HWND Driver::Control(const std::string& name) const {
    int id;
    if (!name.empty() && name[0] == '#') {
        id = std::stoi(name.substr(1));
    } else {
        static const std::map<std::string, int> gatekeyNames = GatekeyControlNames();
        static const std::map<std::string, int> wirewiseNames = WirewiseControlNames();
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

// A text ending in "*" matches every box whose text begins with the rest.
bool BoxTextMatches(const std::string& want, const std::string& text) {
    if (!want.empty() && want.back() == '*')
        return text.compare(0, want.size() - 1, want, 0, want.size() - 1) == 0;
    return text == want;
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

HWND Driver::FindTopLevel(const char* windowClass, const std::string& caption) const {
    FindArgs args{process_.pi.dwProcessId, windowClass, &caption, nullptr, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

HWND Driver::FindBox(const std::string* text) const {
    FindArgs args{process_.pi.dwProcessId, "#32770", &boxTitle_, text, nullptr};
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
        if (waited > 10000) throw Failure("the box did not close");
        Sleep(20);
    }
}

// Returns once the program's thread is reading its messages again: its handler has finished
// or waits in a modal loop.
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
        if (WaitForSingleObject(process_.pi.hProcess, 0) == WAIT_OBJECT_0) return;
        if (!Sync(timeoutMs)) throw Failure("the program does not answer");
        if (HWND box = FindBox()) {
            std::printf("box: %s\n", Visible(BoxText(box)).c_str());
            std::fflush(stdout);
            AnswerBox(box, "default");
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
                        5000, &n);
    return text;
}

std::string Driver::ToolTip(HWND control) const {
    ToolTipArgs args{process_.pi.dwProcessId, Main(), nullptr};
    EnumWindows(FindToolTipProc, reinterpret_cast<LPARAM>(&args));
    if (!args.found) return "<no tool tips>";

    // The tool's text must be asked for with a record in the program's own memory.
    constexpr size_t kTextOffset = 256, kTextSize = 512;
    RemoteBuffer remote(process_.pi.hProcess, kTextOffset + kTextSize);
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = Main();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = remote.get() + kTextOffset;
    const char zero[kTextSize] = {};
    SIZE_T n = 0;
    WriteProcessMemory(process_.pi.hProcess, remote.get(), &ti, ti.cbSize, &n);
    WriteProcessMemory(process_.pi.hProcess, remote.get() + kTextOffset, zero, kTextSize, &n);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(args.found, TTM_GETTEXTA, kTextSize, reinterpret_cast<LPARAM>(remote.get()),
                        SMTO_NORMAL, 5000, &ignored);
    char text[kTextSize] = {};
    ReadProcessMemory(process_.pi.hProcess, remote.get() + kTextOffset, text, kTextSize - 1, &n);
    return text;
}

template <class Check> void Driver::Expect(int timeoutMs, Check check) const {
    const DWORD start = GetTickCount();
    for (;;) {
        const std::string complaint = check();
        if (complaint.empty()) return;
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) throw Failure(complaint);
        Sleep(25);
    }
}

std::string Driver::VersionText(const std::string& file, const std::string& key) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) throw Failure("no version resource in " + file);
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data()))
        throw Failure("cannot read the version of " + file);
    void* p = nullptr;
    UINT n = 0;
    if (key == "fixed") {
        if (!VerQueryValueA(data.data(), "\\", &p, &n) || n < sizeof(VS_FIXEDFILEINFO))
            throw Failure("no fixed version");
        const auto* f = static_cast<const VS_FIXEDFILEINFO*>(p);
        return Format("%u.%u.%u.%u %u.%u.%u.%u", HIWORD(f->dwFileVersionMS),
                      LOWORD(f->dwFileVersionMS), HIWORD(f->dwFileVersionLS),
                      LOWORD(f->dwFileVersionLS), HIWORD(f->dwProductVersionMS),
                      LOWORD(f->dwProductVersionMS), HIWORD(f->dwProductVersionLS),
                      LOWORD(f->dwProductVersionLS));
    }
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &p, &n) || n < 4)
        throw Failure("no translation block");
    const auto* lang = static_cast<const WORD*>(p);
    const std::string path =
        Format("\\StringFileInfo\\%04x%04x\\%s", lang[0], lang[1], key.c_str());
    if (!VerQueryValueA(data.data(), path.c_str(), &p, &n) || n == 0) return "";
    return std::string(static_cast<const char*>(p));
}

std::string Driver::ManifestText(const std::string& file) {
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) throw Failure("cannot open " + file);
    std::string text;
    if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const DWORD size = SizeofResource(module, res);
        if (HGLOBAL loaded = LoadResource(module, res))
            text.assign(static_cast<const char*>(LockResource(loaded)), size);
    }
    FreeLibrary(module);
    return text;
}

// The words sorted and joined by blanks.
std::string SortedList(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

BOOL CALLBACK FirstResourceProc(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<LPSTR*>(found) = name;
    return FALSE;
}

// A program file's first icon group as "WxHxBITS" per image, sorted, each image checked against
// its directory entry: a bitmap of that size and depth (height doubled for the mask), a full
// palette below 16 bits, and exactly the colour and mask rows that size needs.
std::string Driver::IconEntries(const std::string& file) {
    class DataFile {
      public:
        explicit DataFile(const std::string& path)
            : h(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
        DataFile(const DataFile&) = delete;
        DataFile& operator=(const DataFile&) = delete;
        ~DataFile() {
            if (h) FreeLibrary(h);
        }
        const HMODULE h;
    } owned(file);
    const HMODULE module = owned.h;
    if (!module) throw Failure("cannot open " + file);
    const auto bytes = [&](LPCSTR name, LPCSTR type) {
        std::string data;
        if (HRSRC res = FindResourceA(module, name, type)) {
            if (HGLOBAL loaded = LoadResource(module, res))
                data.assign(static_cast<const char*>(LockResource(loaded)),
                            SizeofResource(module, res));
        }
        return data;
    };
    LPSTR group = nullptr;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), FirstResourceProc, // RT_GROUP_ICON
                       reinterpret_cast<LONG_PTR>(&group));
    if (!group) throw Failure("no icon in " + file);
    const std::string dir = bytes(group, MAKEINTRESOURCEA(14));
    if (dir.size() < 6) throw Failure("a short icon directory");
    const auto u16 = [](const std::string& d, size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(d[at]) |
                                     static_cast<unsigned char>(d[at + 1]) << 8);
    };
    const auto u32 = [&](const std::string& d, size_t at) {
        return u16(d, at) | u16(d, at + 2) << 16;
    };
    const unsigned count = u16(dir, 4);
    if (dir.size() < 6 + 14 * size_t{count}) throw Failure("a short icon directory");
    std::vector<std::string> entries;
    for (unsigned i = 0; i < count; ++i) {
        const size_t at = 6 + 14 * size_t{i};
        const unsigned width =
            static_cast<unsigned char>(dir[at]) ? static_cast<unsigned char>(dir[at]) : 256;
        const unsigned height =
            static_cast<unsigned char>(dir[at + 1]) ? static_cast<unsigned char>(dir[at + 1]) : 256;
        const unsigned bits = u16(dir, at + 6);
        const unsigned id = u16(dir, at + 12);
        const std::string name = Format("%ux%ux%u", width, height, bits);
        const std::string image = bytes(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)); // RT_ICON
        if (image.size() < 40 || u32(image, 0) != 40) throw Failure(name + ": no bitmap header");
        if (u32(image, 4) != width || u32(image, 8) != 2 * height || u16(image, 14) != bits)
            throw Failure(name + Format(": the bitmap is %ux%u/2 at %u bits", u32(image, 4),
                                        u32(image, 8), u16(image, 14)));
        const size_t colours = bits < 16 ? (u32(image, 32) ? u32(image, 32) : 1u << bits) : 0;
        if (bits < 16 && colours != (1u << bits))
            throw Failure(name + Format(": a palette of %u colours", unsigned(colours)));
        const size_t stride = (size_t{width} * bits + 31) / 32 * 4;
        const size_t maskStride = (size_t{width} + 31) / 32 * 4;
        const size_t want = 40 + 4 * colours + (stride + maskStride) * height;
        if (image.size() != want)
            throw Failure(
                name + Format(": %u bytes, expected %u", unsigned(image.size()), unsigned(want)));
        entries.push_back(name);
    }
    return SortedList(entries);
}

// The pointer the program shows with the mouse over window h (moved there, as a person would).
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
    if (!main_ || !IsWindow(main_)) return;
    RECT w{};
    GetWindowRect(main_, &w);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(process_.pi.dwThreadId, &gui);
    std::printf("window \"%s\" %ldx%ld px (dpi %d), focus #%d\n", Text(main_).c_str(),
                w.right - w.left, w.bottom - w.top, dpiY_,
                gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0);
    for (HWND h = GetWindow(main_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        std::printf("  #%d %s \"%s\" at %ld,%ld %ldx%ld enabled=%d checked=%d\n", GetDlgCtrlID(h),
                    cls, Visible(Text(h)).c_str(), r.left, r.top, r.right - r.left,
                    r.bottom - r.top, IsWindowEnabled(h) ? 1 : 0,
                    static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0)));
    }
    std::fflush(stdout);
}

void Driver::Execute(const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    constexpr int kWait = 10000;
    if (cmd == "start") {
        Need(a, 2, "start PROGRAM");
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string commandLine = "\"" + a[1] + "\"";
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &process_.pi))
            throw Failure(Format("cannot start %s, error %lu", a[1].c_str(), GetLastError()));
    } else if (cmd == "window") {
        Need(a, 2, "window CAPTION [ms]");
        const int timeout = Timeout(a, 2, 30000);
        Expect(timeout, [&]() -> std::string {
            if (WaitForSingleObject(process_.pi.hProcess, 0) == WAIT_OBJECT_0)
                throw Failure("the program ended before its window showed");
            main_ = FindTopLevel(nullptr, a[1]);
            if (main_ && FindBox() != main_) return "";
            main_ = nullptr;
            HWND box = FindBox();
            return box ? "a message box is open: " + Visible(BoxText(box))
                       : "no window \"" + a[1] + "\"";
        });
    } else if (cmd == "title") {
        Need(a, 2, "title TEXT");
        boxTitle_ = a[1];
    } else if (cmd == "settle") {
        Settle(Timeout(a, 1, 60000));
    } else if (cmd == "press") {
        Need(a, 2, "press CONTROL");
        PostMessageA(Control(a[1]), BM_CLICK, 0, 0);
    } else if (cmd == "click") {
        Need(a, 2, "click CONTROL");
        PostMessageA(Control(a[1]), BM_CLICK, 0, 0);
        Settle(Timeout(a, 2, 60000));
    } else if (cmd == "tick" || cmd == "untick") {
        Need(a, 2, "tick|untick CONTROL");
        HWND h = Control(a[1]);
        const LRESULT want = cmd == "tick" ? BST_CHECKED : BST_UNCHECKED;
        if (SendMessageA(h, BM_GETCHECK, 0, 0) != want) SendMessageA(h, BM_CLICK, 0, 0);
        Expect(kWait, [&]() -> std::string {
            return SendMessageA(h, BM_GETCHECK, 0, 0) == want ? "" : a[1] + " did not change";
        });
    } else if (cmd == "select") {
        Need(a, 3, "select CONTROL ROW");
        HWND h = Control(a[1]);
        SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(std::stoi(a[2])), 0);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(Main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(h), SMTO_NORMAL, kWait, &ignored);
    } else if (cmd == "key") {
        Need(a, 3, "key CONTROL down|up|home|end|char:X");
        HWND h = Control(a[1]);
        const std::string& k = a[2];
        const std::map<std::string, WPARAM> keys = {
            {"down", VK_DOWN}, {"up", VK_UP}, {"home", VK_HOME}, {"end", VK_END}};
        WPARAM vk;
        if (k.rfind("char:", 0) == 0 && k.size() == 6) {
            vk = static_cast<WPARAM>(VkKeyScanA(k[5]) & 0xFF);
        } else {
            auto it = keys.find(k);
            if (it == keys.end()) throw Failure("unknown key " + k);
            vk = it->second;
        }
        SendMessageA(h, WM_KEYDOWN, vk, 1);
        if (k.rfind("char:", 0) == 0) SendMessageA(h, WM_CHAR, static_cast<WPARAM>(k[5]), 1);
        SendMessageA(h, WM_KEYUP, vk, 0xC0000001);
    } else if (cmd == "expect-text") {
        Need(a, 3, "expect-text CONTROL TEXT");
        Expect(kWait, [&]() -> std::string {
            const std::string t = Text(Control(a[1]));
            return t == a[2] ? "" : a[1] + " reads \"" + Visible(t) + "\"";
        });
    } else if (cmd == "expect-enabled" || cmd == "expect-checked" || cmd == "expect-rows" ||
               cmd == "expect-selected") {
        Need(a, 3, "expect-enabled|checked|rows|selected CONTROL N");
        const int want = std::stoi(a[2]);
        Expect(kWait, [&]() -> std::string {
            HWND h = Control(a[1]);
            int got;
            if (cmd == "expect-enabled")
                got = IsWindowEnabled(h) ? 1 : 0;
            else if (cmd == "expect-checked")
                got = static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0));
            else if (cmd == "expect-rows")
                got = static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0));
            else
                got = static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0));
            return got == want ? "" : Format("%s: %s is %d", cmd.c_str(), a[1].c_str(), got);
        });
    } else if (cmd == "expect-row") {
        Need(a, 4, "expect-row CONTROL ROW TEXT");
        Expect(kWait, [&]() -> std::string {
            HWND h = Control(a[1]);
            const WPARAM row = static_cast<WPARAM>(std::stoi(a[2]));
            // Wine hands another process's rows over in UTF-16 whatever the A call asked for:
            // ask for UTF-16 and convert here.
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
    } else if (cmd == "expect-tooltip") {
        Need(a, 3, "expect-tooltip CONTROL TEXT");
        Expect(kWait, [&]() -> std::string {
            const std::string t = ToolTip(Control(a[1]));
            return t == a[2] ? "" : a[1] + " tool tip reads \"" + t + "\"";
        });
    } else if (cmd == "expect-outer-height") {
        Need(a, 2, "expect-outer-height TWIPS");
        const int want = PxY(std::stoi(a[1]));
        Expect(kWait, [&]() -> std::string {
            RECT r{};
            GetWindowRect(Main(), &r);
            const int got = r.bottom - r.top;
            return got == want ? "" : Format("outer height %d px, expected %d px", got, want);
        });
    } else if (cmd == "expect-client") {
        Need(a, 3, "expect-client WIDTH HEIGHT (twips)");
        Expect(kWait, [&]() -> std::string {
            RECT r{};
            GetClientRect(Main(), &r);
            const int w = PxX(std::stoi(a[1])), h = PxY(std::stoi(a[2]));
            return r.right == w && r.bottom == h
                       ? ""
                       : Format("client %ldx%ld px, expected %dx%d", r.right, r.bottom, w, h);
        });
    } else if (cmd == "expect-place") {
        Need(a, 6, "expect-place CONTROL LEFT TOP WIDTH HEIGHT (twips, in the client area)");
        Expect(kWait, [&]() -> std::string {
            RECT r{};
            GetWindowRect(Control(a[1]), &r);
            MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
            const int l = PxX(std::stoi(a[2])), t = PxY(std::stoi(a[3]));
            const int w = PxX(std::stoi(a[4])), h = PxY(std::stoi(a[5]));
            return r.left == l && r.top == t && r.right - r.left == w && r.bottom - r.top == h
                       ? ""
                       : Format("%s at %ld,%ld %ldx%ld px, expected %d,%d %dx%d", a[1].c_str(),
                                r.left, r.top, r.right - r.left, r.bottom - r.top, l, t, w, h);
        });
    } else if (cmd == "expect-tab-order") {
        // The controls that take the focus, in the order Tab visits them (disabled ones too).
        Need(a, 2, "expect-tab-order CONTROL...");
        std::string want, got;
        for (size_t i = 1; i < a.size(); ++i)
            want += Format("%d ", GetDlgCtrlID(Control(a[i])));
        for (HWND h = GetWindow(Main(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) got += Format("%d ", GetDlgCtrlID(h));
        if (got != want) throw Failure("tab order by id: " + got + "expected " + want);
    } else if (cmd == "expect-in-view") {
        Need(a, 3, "expect-in-view CONTROL 0|1");
        const bool want = a[2] == "1";
        Expect(kWait, [&]() -> std::string {
            RECT r{}, client{};
            GetWindowRect(Control(a[1]), &r);
            MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
            GetClientRect(Main(), &client);
            const bool inView = r.bottom <= client.bottom;
            return inView == want ? "" : a[1] + (inView ? " is in view" : " is out of view");
        });
    } else if (cmd == "expect-box") {
        Need(a, 3, "expect-box TEXT ok|yes|no|cancel [ms]");
        HWND box = nullptr;
        Expect(Timeout(a, 3, 30000), [&]() -> std::string {
            box = FindBox(&a[1]);
            if (box) return "";
            HWND other = FindBox();
            return other ? "the box reads \"" + Visible(BoxText(other)) + "\""
                         : "no message box \"" + boxTitle_ + "\"";
        });
        AnswerBox(box, a[2]);
    } else if (cmd == "expect-version") {
        // A program file's version resource: a string of its first language block, or the
        // fixed file and product versions as "fixed".
        Need(a, 4, "expect-version FILE FileDescription|FileVersion|...|fixed TEXT");
        const std::string got = VersionText(a[1], a[2]);
        if (got != a[3]) throw Failure(a[2] + " reads \"" + got + "\"");
    } else if (cmd == "expect-manifest") {
        Need(a, 3, "expect-manifest FILE TEXT");
        const std::string manifest = ManifestText(a[1]);
        if (manifest.find(a[2]) == std::string::npos)
            throw Failure("the manifest lacks " + a[2] + ": " + manifest);
    } else if (cmd == "expect-icons") {
        Need(a, 3, "expect-icons FILE WxHxBITS...");
        const std::string wanted = SortedList({a.begin() + 2, a.end()});
        const std::string got = IconEntries(a[1]);
        if (got != wanted) throw Failure("the icon holds " + got + "; expected " + wanted);
    } else if (cmd == "drag-box") {
        // The open box moved aside, its top-left corner to X,Y (screen pixels), as a person
        // drags it by its caption to see the window below.
        Need(a, 3, "drag-box X Y");
        const HWND box = FindBox();
        if (!box) throw Failure("no message box \"" + boxTitle_ + "\"");
        SetWindowPos(box, nullptr, std::stoi(a[1]), std::stoi(a[2]), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Expect(kWait, [&]() -> std::string {
            RECT r{};
            GetWindowRect(box, &r);
            return r.left == std::stoi(a[1]) && r.top == std::stoi(a[2]) ? ""
                                                                         : "the box did not move";
        });
    } else if (cmd == "expect-pointer") {
        // The pointer over CONTROL while a message box of the program is open: "arrow" is the
        // one the program shows over that box, "busy" any other.
        Need(a, 3, "expect-pointer CONTROL arrow|busy");
        const HWND box = FindBox();
        if (!box) throw Failure("expect-pointer needs an open message box");
        const HCURSOR arrow = PointerOver(GetDlgItem(box, 0xFFFF) ? GetDlgItem(box, 0xFFFF) : box);
        const bool wantArrow = a[2] == "arrow";
        Expect(kWait, [&]() -> std::string {
            const bool isArrow = PointerOver(Control(a[1])) == arrow;
            return isArrow == wantArrow ? ""
                                        : "the pointer over " + a[1] +
                                              (isArrow ? " is the arrow" : " is not the arrow");
        });
    } else if (cmd == "await-box") {
        // Waits until a box reads TEXT and leaves it open; other boxes met on the way are
        // answered with their default, as settle does.
        Need(a, 2, "await-box TEXT [ms]");
        Expect(Timeout(a, 2, 60000), [&]() -> std::string {
            if (FindBox(&a[1])) return "";
            // The box may have come up just after the first look.
            if (HWND other = FindBox(); other && !BoxTextMatches(a[1], BoxText(other))) {
                std::printf("box: %s\n", Visible(BoxText(other)).c_str());
                std::fflush(stdout);
                AnswerBox(other, "default");
            }
            return "no message box reads \"" + Visible(a[1]) + "\"";
        });
    } else if (cmd == "expect-no-box") {
        // Once the program reads its messages again, no box of it may be open.
        if (!Sync(kWait)) throw Failure("the program does not answer");
        if (HWND box = FindBox()) throw Failure("a message box is open: " + Visible(BoxText(box)));
    } else if (cmd == "close") {
        PostMessageA(Main(), WM_CLOSE, 0, 0);
    } else if (cmd == "expect-exit") {
        const DWORD want = static_cast<DWORD>(a.size() > 1 ? std::stoul(a[1]) : 0);
        if (WaitForSingleObject(process_.pi.hProcess, static_cast<DWORD>(Timeout(a, 2, 30000))) !=
            WAIT_OBJECT_0) {
            if (HWND box = FindBox())
                throw Failure("the program still runs; a box is open: " + Visible(BoxText(box)));
            throw Failure("the program still runs");
        }
        DWORD code = 0;
        GetExitCodeProcess(process_.pi.hProcess, &code);
        if (code != want) throw Failure(Format("exit code %lu, expected %lu", code, want));
        main_ = nullptr;
    } else if (cmd == "checkpoint") {
        // Lets the shell act (e.g. take a screenshot) while the program waits: NAME.ready
        // appears, the driver goes on when NAME.go exists.
        Need(a, 2, "checkpoint NAME [ms]");
        std::ofstream(a[1] + ".ready").put('\n');
        Expect(Timeout(a, 2, 30000), [&]() -> std::string {
            return GetFileAttributesA((a[1] + ".go").c_str()) != INVALID_FILE_ATTRIBUTES
                       ? ""
                       : "nobody answered checkpoint " + a[1];
        });
    } else if (cmd == "dump") {
        Dump();
    } else if (cmd == "type") {
        // Replaces the text as a paste would: the control reports the change to its parent.
        Need(a, 3, "type CONTROL TEXT");
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(Control(a[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()),
                            SMTO_NORMAL, kWait, &ignored);
    } else if (cmd == "focus") {
        // A click into the control; the control that had the focus loses it.
        Need(a, 2, "focus CONTROL");
        HWND h = Control(a[1]);
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Expect(kWait, [&]() -> std::string {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(process_.pi.dwThreadId, &gui);
            return gui.hwndFocus == h ? "" : a[1] + " did not get the focus";
        });
        Settle(kWait);
    } else if (cmd == "tab") {
        // The Tab key through the program's message loop, from the control that has the focus.
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!GetGUIThreadInfo(process_.pi.dwThreadId, &gui) || !gui.hwndFocus)
            throw Failure("no control has the focus");
        PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageA(gui.hwndFocus, WM_KEYUP, VK_TAB, 0xC00F0001);
        Expect(kWait, [&]() -> std::string {
            GUITHREADINFO now{};
            now.cbSize = sizeof now;
            GetGUIThreadInfo(process_.pi.dwThreadId, &now);
            return now.hwndFocus != gui.hwndFocus ? "" : "the focus did not move";
        });
        Settle(kWait);
    } else if (cmd == "keystroke") {
        // A key pressed and released in the control that has the focus, through the program's
        // message loop (posted only: settle, or expect-box for a box it opens).
        Need(a, 2, "keystroke enter|space|escape|down|up|left|right|alt+LETTER");
        static const std::map<std::string, WPARAM> keys = {
            {"enter", VK_RETURN}, {"space", VK_SPACE}, {"escape", VK_ESCAPE}, {"down", VK_DOWN},
            {"up", VK_UP},        {"left", VK_LEFT},   {"right", VK_RIGHT}};
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!GetGUIThreadInfo(process_.pi.dwThreadId, &gui) || !gui.hwndFocus)
            throw Failure("no control has the focus");
        const std::string& k = a[1];
        if (k.rfind("alt+", 0) == 0 && k.size() == 5) {
            // With Alt held the keys are system keys (context bit set); the program's own
            // TranslateMessage makes the WM_SYSCHAR of them.
            const WPARAM vk = static_cast<WPARAM>(VkKeyScanA(k[4]) & 0xFF);
            PostMessageA(gui.hwndFocus, WM_SYSKEYDOWN, vk, 0x20000001);
            PostMessageA(gui.hwndFocus, WM_SYSKEYUP, vk, 0xE0000001);
        } else {
            const auto it = keys.find(k);
            if (it == keys.end()) throw Failure("unknown key " + k);
            PostMessageA(gui.hwndFocus, WM_KEYDOWN, it->second, 0x00000001);
            PostMessageA(gui.hwndFocus, WM_KEYUP, it->second, 0xC0000001);
        }
    } else if (cmd == "expect-focus-within") {
        // The focus is in CONTROL or in a window inside it (a hosted control's own windows).
        Need(a, 2, "expect-focus-within CONTROL");
        Expect(kWait, [&]() -> std::string {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(process_.pi.dwThreadId, &gui);
            const HWND h = Control(a[1]);
            if (gui.hwndFocus && (gui.hwndFocus == h || IsChild(h, gui.hwndFocus))) return "";
            char cls[64] = {};
            if (gui.hwndFocus) GetClassNameA(gui.hwndFocus, cls, sizeof cls);
            return a[1] + " has not the focus; it is in " +
                   (gui.hwndFocus ? Format("#%d %s", GetDlgCtrlID(gui.hwndFocus), cls)
                                  : std::string("no window"));
        });
    } else if (cmd == "expect-focus") {
        Need(a, 2, "expect-focus CONTROL");
        Expect(kWait, [&]() -> std::string {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(process_.pi.dwThreadId, &gui);
            return gui.hwndFocus == Control(a[1]) ? "" : a[1] + " has not the focus";
        });
    } else if (cmd == "expect-visible" || cmd == "expect-password-char" || cmd == "expect-fill") {
        Need(a, 3, "expect-visible|password-char|fill CONTROL N");
        const long long want = std::stoll(a[2], nullptr, 0);
        Expect(kWait, [&]() -> std::string {
            HWND h = Control(a[1]);
            DWORD_PTR got = 0;
            if (cmd == "expect-visible")
                got = IsWindowVisible(h) ? 1 : 0;
            else if (cmd == "expect-password-char")
                SendMessageTimeoutA(h, EM_GETPASSWORDCHAR, 0, 0, SMTO_NORMAL, kWait, &got);
            else // the lamp's fill colour (its LEDM_GETFILLCOLOR message)
                SendMessageTimeoutA(h, WM_USER + 0x100, 0, 0, SMTO_NORMAL, kWait, &got);
            return static_cast<long long>(got) == want
                       ? ""
                       : Format("%s: %s is %lld", cmd.c_str(), a[1].c_str(),
                                static_cast<long long>(got));
        });
    } else if (cmd == "expect-fills") {
        Need(a, 2, "expect-fills CONTROL (covers the whole client area)");
        Expect(kWait, [&]() -> std::string {
            RECT r{}, client{};
            GetWindowRect(Control(a[1]), &r);
            MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
            GetClientRect(Main(), &client);
            return EqualRect(&r, &client) ? ""
                                          : Format("%s at %ld,%ld %ldx%ld px, client %ldx%ld",
                                                   a[1].c_str(), r.left, r.top, r.right - r.left,
                                                   r.bottom - r.top, client.right, client.bottom);
        });
    } else if (cmd == "expect-zoomed") {
        Need(a, 2, "expect-zoomed 0|1");
        Expect(kWait, [&]() -> std::string {
            const int got = IsZoomed(Main()) ? 1 : 0;
            return got == std::stoi(a[1]) ? "" : Format("the window's zoomed state is %d", got);
        });
    } else if (cmd == "switch") {
        // A window of another program comes to the front and goes again, as when a person
        // switches to another program and back.
        HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 80,
                                     40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        Expect(kWait, [&]() -> std::string {
            MSG m;
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&m);
            return GetForegroundWindow() == other ? "" : "the other window is not in front";
        });
        Settle(kWait);
        SetForegroundWindow(Main());
        Expect(kWait, [&]() -> std::string {
            return GetForegroundWindow() == Main() ? "" : "the program's window is not in front";
        });
        DestroyWindow(other);
        Settle(kWait);
    } else if (cmd == "restore" || cmd == "maximize") {
        PostMessageA(Main(), WM_SYSCOMMAND, cmd == "restore" ? SC_RESTORE : SC_MAXIMIZE, 0);
        Settle(kWait);
    } else if (cmd == "listen") {
        Need(a, 2, "listen PORT (on 127.0.0.1)");
        if (!http_.Start(std::stoi(a[1]))) throw Failure("cannot listen on port " + a[1]);
    } else if (cmd == "expect-request") {
        // The Nth request (from 1) has a head line that reads exactly TEXT.
        Need(a, 3, "expect-request N TEXT [ms]");
        const size_t n = static_cast<size_t>(std::stoi(a[1]));
        Expect(Timeout(a, 3, 30000), [&]() -> std::string {
            const std::vector<std::string> requests = http_.Requests();
            if (requests.size() < n) return Format("%u requests so far", unsigned(requests.size()));
            std::istringstream lines(requests[n - 1]);
            for (std::string line; std::getline(lines, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (line == a[2]) return "";
            }
            return "request " + a[1] + " lacks \"" + a[2] + "\": " + Visible(requests[n - 1]);
        });
    } else if (cmd == "expect-requests") {
        Need(a, 2, "expect-requests N");
        Settle(kWait);
        const size_t got = http_.Requests().size();
        if (got != static_cast<size_t>(std::stoi(a[1])))
            throw Failure(Format("%u requests, expected %s", unsigned(got), a[1].c_str()));
    } else if (cmd == "sleep") {
        Need(a, 2, "sleep MS");
        Sleep(static_cast<DWORD>(std::stoi(a[1])));
    } else {
        throw Failure("unknown command " + cmd);
    }
}

int Driver::Run(const std::string& scriptPath) {
    if (HDC screen = GetDC(nullptr)) {
        dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
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
            const std::vector<std::string> args = Tokenize(line);
            if (args.empty()) continue;
            std::printf("> %s\n", line.c_str());
            std::fflush(stdout);
            Execute(args);
        } catch (const std::exception& e) {
            std::printf("FAIL at line %d: %s\n  %s\n", number, line.c_str(), e.what());
            Dump();
            if (process_.pi.hProcess &&
                WaitForSingleObject(process_.pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.pi.hProcess, 99);
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: e2e_driver SCRIPT\n");
        return 2;
    }
    Driver driver;
    return driver.Run(argv[1]);
}
