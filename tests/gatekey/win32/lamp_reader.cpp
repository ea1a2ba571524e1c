// Starts a program, waits for its window and reads every lamp on it the way any other program
// can: caption through WM_GETTEXT, colours through the lamp's messages. Prints, per lamp,
//   lamp #ID "CAPTION" fill=0xBBGGRR
// and the pixels a screenshot must show there,
//   pixel X Y RRGGBB WHAT
// in screen coordinates; then tries to set the lamp from outside and prints
//   lamp #ID refuses writes from outside     (or "took a write from outside")
// Leaves the program running. Run as: lamp_reader PROGRAM CAPTION
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "led/color.h"
#include "led/led.h"
#include "led_window.h"

namespace {

struct Search {
    DWORD process;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (process != search->process || std::string(text) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectLamps(HWND window, LPARAM param) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == gk::kLedClassName)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

void PrintPixel(int x, int y, gk::Rgb color, const char* what) {
    std::printf("pixel %d %d %02X%02X%02X %s\n", x, y, static_cast<unsigned>(color & 0xFF),
                static_cast<unsigned>((color >> 8) & 0xFF), static_cast<unsigned>(color >> 16),
                what);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lamp_reader PROGRAM CAPTION\n");
        return 2;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = std::string("\"") + argv[1] + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    Search search{process.dwProcessId, argv[2], nullptr};
    std::vector<HWND> lamps;
    for (int waited = 0; waited < 15000; waited += 50) {
        search.found = nullptr;
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
        lamps.clear();
        if (search.found != nullptr && IsWindowVisible(search.found)) {
            EnumChildWindows(search.found, CollectLamps, reinterpret_cast<LPARAM>(&lamps));
            if (!lamps.empty()) break;
        }
        Sleep(50);
    }
    CloseHandle(process.hProcess);
    if (lamps.empty()) {
        std::printf("no window \"%s\" with lamps\n", argv[2]);
        return 1;
    }
    Sleep(500); // let the first paint settle before anyone looks
    const gk::Rgb face = GetSysColor(COLOR_BTNFACE);
    for (HWND lamp : lamps) {
        char caption[256] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(lamp, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption),
                            SMTO_NORMAL, 5000, &copied);
        DWORD_PTR fill = 0, back = 0;
        SendMessageTimeoutA(lamp, gk::LEDM_GETFILLCOLOR, 0, 0, SMTO_NORMAL, 5000, &fill);
        SendMessageTimeoutA(lamp, gk::LEDM_GETBACKCOLOR, 0, 0, SMTO_NORMAL, 5000, &back);
        std::printf("lamp #%d \"%s\" fill=0x%06lX\n", GetDlgCtrlID(lamp), caption,
                    static_cast<unsigned long>(fill));
        // Only plain colours and the button face are predicted here.
        const gk::Rgb surround = back == gk::kButtonFace ? face : static_cast<gk::Rgb>(back);
        const gk::Rgb body = static_cast<gk::Rgb>(fill);
        RECT r{};
        GetWindowRect(lamp, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        PrintPixel(r.left, r.top, surround, "top-left corner");
        PrintPixel(r.left + 1, r.top + 1, gk::ShadeColor(surround, -170), "top-left inner corner");
        PrintPixel(r.left + 1, r.top + 2, gk::ShadeColor(body, 150), "left outer step");
        PrintPixel(r.left + w - 2, r.top + h - 2, gk::ShadeColor(surround, -170),
                   "bottom-right inner corner");
        PrintPixel(r.left + w / 2, r.top, gk::kFrameColor, "frame");
        PrintPixel(r.left + w / 2, r.top + h - 2, gk::ShadeColor(body, -150), "bottom outer step");
        PrintPixel(r.left + 5, r.top + h / 2, body, "body");

        // Another program may read a lamp but not set it: the caption and colours stay.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(lamp, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Set from outside"),
                            SMTO_NORMAL, 5000, &ignored);
        SendMessageTimeoutA(lamp, gk::LEDM_SETFILLCOLOR, ~fill & 0xFFFFFF, 0, SMTO_NORMAL, 5000,
                            &ignored);
        SendMessageTimeoutA(lamp, gk::LEDM_SETBACKCOLOR, ~back & 0xFFFFFF, 0, SMTO_NORMAL, 5000,
                            &ignored);
        char after[256] = {};
        DWORD_PTR fillAfter = 0, backAfter = 0;
        SendMessageTimeoutA(lamp, WM_GETTEXT, sizeof after, reinterpret_cast<LPARAM>(after),
                            SMTO_NORMAL, 5000, &copied);
        SendMessageTimeoutA(lamp, gk::LEDM_GETFILLCOLOR, 0, 0, SMTO_NORMAL, 5000, &fillAfter);
        SendMessageTimeoutA(lamp, gk::LEDM_GETBACKCOLOR, 0, 0, SMTO_NORMAL, 5000, &backAfter);
        const bool kept = std::string(after) == caption && fillAfter == fill && backAfter == back;
        std::printf("lamp #%d %s\n", GetDlgCtrlID(lamp),
                    kept ? "refuses writes from outside" : "took a write from outside");
    }
    std::fflush(stdout);
    return 0;
}
