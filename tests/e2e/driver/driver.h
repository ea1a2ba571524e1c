#pragma once
// The driver's state and the ways it finds and works the program's windows; the commands of a
// script (commands.cpp) are made of these.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "http_listener.h"

// A command that did not hold; its text ends the script as "FAIL at line N: ...".
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One script line in words; the command's name first.
using Args = std::vector<std::string>;

std::string Format(const char* fmt, ...);
// Shows control characters, so that failure messages stay on one line.
std::string Visible(const std::string& s);
// A text ending in "*" matches every box text that begins with the rest.
bool BoxTextMatches(const std::string& want, const std::string& text);
// A wait in ms stretched by WINE_ENV_TIME_SCALE: Wine under full emulation takes many times
// longer for every step, and a check may wait longer but never less.
int Scaled(int ms);

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

class Driver {
  public:
    // ms an expect-* polls by default
    static int Wait() { return Scaled(10000); }

    // Runs a script; 0 when every command held, 1 at the first that did not (the program under
    // test is then ended).
    int Run(const std::string& scriptPath);

    // The program under test and its window (set by `window`).
    ProcessHandles process;
    // A copy set aside by `another` while a second one runs; `back` returns to it.
    ProcessHandles parked;
    HWND parkedWindow = nullptr;
    // The idle connections outlive the listener: it must end without their help.
    IdleClients idle;
    HttpListener http;
    HWND mainWindow = nullptr;
    std::string boxTitle = "Corvane Wirewise";
    int dpiX = 96, dpiY = 96;

    HWND Main() const;
    // A control of the window by name, or by id as "#104"; also inside a frame.
    HWND Control(const std::string& name) const;
    int PxX(int twips) const { return MulDiv(twips, dpiX, 1440); }
    int PxY(int twips) const { return MulDiv(twips, dpiY, 1440); }
    // The window that has the focus in the program's thread; null when none has.
    HWND Focus() const;

    HWND FindTopLevel(const std::string& caption) const;
    // A message box of the program; with text, the one that reads it (boxes may be stacked).
    HWND FindBox(const std::string* text = nullptr) const;
    std::string BoxText(HWND box) const;
    // Presses ok, cancel, yes, no, or "default": the answer that changes nothing.
    void AnswerBox(HWND box, const std::string& button);
    // Answers a box with its default and says so ("box: TEXT").
    void AnswerDefault(HWND box);
    // Waits until the program reads its messages again, answering boxes with their default.
    void Settle(int timeoutMs);
    // Returns once the program's thread reads its messages again; false when it does not.
    bool Sync(int timeoutMs) const;
    std::string Text(HWND h) const;
    std::string ToolTip(HWND control) const;
    // The pointer the program shows with the mouse over window h (moved there, as a person would).
    HCURSOR PointerOver(HWND h) const;
    void Dump() const;

    // Polls check() until it returns "" or the time is up; the last complaint is the failure.
    template <class Check> void Expect(int timeoutMs, Check check) const {
        const DWORD start = GetTickCount();
        for (;;) {
            const std::string complaint = check();
            if (complaint.empty()) return;
            if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) throw Failure(complaint);
            Sleep(25);
        }
    }
};

// Runs one script line.
void Execute(Driver& driver, const Args& args);
// Every command with its words and what it does, one a line.
void PrintHelp();
