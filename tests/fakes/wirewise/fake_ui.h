#pragma once
#include <deque>
#include <string>
#include <vector>

#include "seams/ui.h"

namespace ww::test {

// Records every message box and answers from a script; an unscripted box is answered
// with its first button (OK or Yes).
class FakeUi final : public Ui {
  public:
    struct Box {
        std::string text;
        uint32_t style;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    int waitCursorDepth = 0;
    int waitCursorShown = 0; // times the hourglass was switched on

    int MessageBox(std::string_view text, uint32_t style) override {
        boxes.push_back({std::string(text), style});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    }
    void SetWaitCursor(bool on) override {
        waitCursorDepth += on ? 1 : -1;
        if (on) ++waitCursorShown;
    }
};

} // namespace ww::test
