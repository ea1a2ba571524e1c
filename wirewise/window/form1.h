#pragma once
// The logic of the setup window: the start-up sequence, the adapter choice, the confirmation
// box, the options toggle, the setup run and the close. The controls are reached through
// Form1View, everything else through the program's modules.
#include <cstdint>
#include <string>

#include "adapters/adapter_box.h"
#include "adapters/win9x_scan.h"
#include "app.h"
#include "window/form1_view.h"

namespace ww {

// Outer heights of the window with the options hidden and shown, in twips.
inline constexpr int kHeightOptionsHidden = 2325;
inline constexpr int kHeightOptionsShown = 3330;

enum class CloseAnswer {
    Close,     // "<-" is logged; the window closes and the program ends
    Cancel,    // the window stays open
    EndAtOnce, // the user chose to end a busy program: end now, nothing more is logged
};

class Form1 final : public Options, public AdapterBox {
  public:
    Form1(App& app, Form1View& view);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Window events
    void Form_Load();
    void cboNIC_Click();
    void cboNIC_KeyPress();
    void cboNIC_KeyUp();
    void chkConnected_Click();
    void cmdToggle_Click();
    void cmdWrite_Click();
    CloseAnswer Form_QueryUnload();

    // Options, read by the settings passes
    bool chkGates() const override;
    bool chkIEAuto() const override;
    // AdapterBox, filled by the adapter list
    void AddItem(const std::string& text) override;
    void SetListIndex(int row) override;

    std::string ProgramFolder;
    bool OptionsShown = false;
    int32_t LastListIndex = 0;
    Win9xNicScan Scan;

    // True while a setup run is in progress.
    bool Busy() const { return busy_; }

  private:
    void FollowRowChange(int row);
    void UntickConnected();

    App& app_;
    Form1View& view_;
    bool busy_ = false;
};

} // namespace ww
