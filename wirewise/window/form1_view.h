#pragma once
// The controls of the setup window as its logic sees them. The Win32 window implements this;
// tests use a fake. Setting a value from here never raises the control's own event; where a
// change should run a handler, the logic calls it itself.
#include <string>

namespace ww {

// A check box's state.
enum class CheckState { Unticked, Ticked, Greyed };

class Form1View {
  public:
    // cboNIC
    virtual void AddAdapterRow(const std::string& text) = 0;
    virtual void SelectAdapterRow(int row) = 0;
    virtual int SelectedAdapterRow() const = 0; // -1 when no row is selected
    // chkConnected
    virtual CheckState ConnectedValue() const = 0;
    virtual void SetConnectedValue(CheckState state) = 0;
    // cmdWrite
    virtual void SetWriteEnabled(bool enabled) = 0;
    // cmdToggle
    virtual void SetToggle(const std::string& caption, const std::string& toolTip) = 0;
    // The window's outer height, in twips.
    virtual void SetOuterHeight(int twips) = 0;
    // Whether chkGates and chkIEAuto take their places in the tab order (they start without).
    virtual void SetOptionsTabStops(bool on) = 0;
    // The window's own pointer: the hourglass while a setup run is in progress.
    virtual void SetBusyPointer(bool busy) = 0;
    // chkGates, chkIEAuto
    virtual bool GatesTicked() const = 0;
    virtual bool IEAutoTicked() const = 0;

  protected:
    ~Form1View() = default;
};

} // namespace ww
