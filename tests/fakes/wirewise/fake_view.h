#pragma once
// The setup window's controls in memory, behaving as the Win32 controls do when the program
// sets them: no event of their own, an out-of-range row selects nothing.
#include <functional>
#include <string>
#include <vector>

#include "window/form1_view.h"

namespace ww::test {

class FakeView final : public Form1View {
  public:
    std::vector<std::string> rows;
    int selected = -1;
    CheckState connected = CheckState::Unticked;
    bool writeEnabled = false;
    std::string toggleCaption = ">>", toggleTip = "Show Options";
    int outerHeight = 0;          // 0: never set
    bool optionsTabStops = false; // as the window creates the two boxes
    bool busy = false;
    bool gates = false, ieAuto = false;
    std::function<void(bool)> onBusy; // runs after the pointer changed

    void AddAdapterRow(const std::string& text) override { rows.push_back(text); }
    void SelectAdapterRow(int row) override {
        selected = row >= 0 && row < static_cast<int>(rows.size()) ? row : -1;
    }
    int SelectedAdapterRow() const override { return selected; }
    CheckState ConnectedValue() const override { return connected; }
    void SetConnectedValue(CheckState state) override { connected = state; }
    void SetWriteEnabled(bool enabled) override { writeEnabled = enabled; }
    void SetToggle(const std::string& caption, const std::string& tip) override {
        toggleCaption = caption;
        toggleTip = tip;
    }
    void SetOuterHeight(int twips) override { outerHeight = twips; }
    void SetOptionsTabStops(bool on) override { optionsTabStops = on; }
    void SetBusyPointer(bool on) override {
        busy = on;
        if (onBusy) onBusy(on);
    }
    bool GatesTicked() const override { return gates; }
    bool IEAutoTicked() const override { return ieAuto; }
};

} // namespace ww::test
