#pragma once
// The setup window on Win32: the window, its controls and tool tips, and the message loop that
// feeds the window's events to Form1.
#include <windows.h>

#include <string_view>

#include "app.h"
#include "common/twips.h"
#include "common/win32/owners.h"
#include "win32/ui.h"
#include "window/form1.h"

namespace ww {

// The window's class: a second copy of the program finds the first one's window by it.
inline constexpr char kFormClassName[] = "CorvaneWirewiseForm";

class Form1Window final : public Form1View {
  public:
    Form1Window(App& app, Win32Ui& ui, HINSTANCE instance);
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window hidden, runs the start-up, shows it centred and runs the message loop
    // until the window closes; returns the program's exit code.
    int Run(int showCommand);

    // Form1View
    void AddAdapterRow(const std::string& text) override;
    void SelectAdapterRow(int row) override;
    int SelectedAdapterRow() const override;
    CheckState ConnectedValue() const override;
    void SetConnectedValue(CheckState state) override;
    void SetWriteEnabled(bool enabled) override;
    void SetToggle(const std::string& caption, const std::string& toolTip) override;
    void SetOuterHeight(int twips) override;
    void SetOptionsTabStops(bool on) override;
    void SetBusyPointer(bool busy) override;
    bool GatesTicked() const override;
    bool IEAutoTicked() const override;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Create();
    void CreateControls();
    void CreateToolTips();
    void SendToolTip(UINT message, int id, std::string_view text);
    HWND Item(int id) const { return GetDlgItem(hwnd_.get(), id); }
    int PxX(int twips) const { return corvane::TwipsToPixels(twips, dpiX_); }
    int PxY(int twips) const { return corvane::TwipsToPixels(twips, dpiY_); }
    void OnClose(bool endingSession);
    void RestoreFocus();

    App& app_;
    Win32Ui& ui_;
    HINSTANCE instance_;
    Form1 form_;
    corvane::Window hwnd_;
    HWND toolTips_ = nullptr; // owned by the window, destroyed with it
    corvane::GdiObject font_;
    WNDPROC comboDefault_ = nullptr;
    HWND focus_ = nullptr; // the control that had the focus when the window was last left
    int dpiX_ = 96, dpiY_ = 96;
    bool busy_ = false;
    bool closed_ = false; // "<-" is written: the run has ended
};

} // namespace ww
