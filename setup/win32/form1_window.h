#pragma once
// The setup window on Win32: the window, its controls and tool tips, and the message loop that
// feeds the window's events to Form1.
#include <windows.h>

#include "app.h"
#include "window/form1.h"
#include "win32/ui.h"

namespace ww {

// An owned GDI object (font), deleted when it goes.
class GdiObject {
  public:
    explicit GdiObject(HGDIOBJ h = nullptr) : h_(h) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (h_) DeleteObject(h_);
    }
    HGDIOBJ get() const { return h_; }
    void reset(HGDIOBJ h) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

  private:
    HGDIOBJ h_;
};

// Destroys the window if it still exists when the owner goes.
class WindowHandle {
  public:
    WindowHandle() = default;
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;
    ~WindowHandle() {
        if (h_ && IsWindow(h_)) DestroyWindow(h_);
    }
    void reset(HWND h) { h_ = h; }
    HWND get() const { return h_; }

  private:
    HWND h_ = nullptr;
};

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
    int ConnectedValue() const override;
    void SetConnectedValue(int value) override;
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
    void AddToolTip(int id, const char* text);
    HWND Item(int id) const { return GetDlgItem(hwnd_.get(), id); }
    int PxX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int PxY(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    void OnClose(bool endingSession);
    void RestoreFocus();

    App& app_;
    Win32Ui& ui_;
    HINSTANCE instance_;
    Form1 form_;
    WindowHandle hwnd_;
    HWND toolTips_ = nullptr; // owned by the window, destroyed with it
    GdiObject font_;
    WNDPROC comboDefault_ = nullptr;
    HWND focus_ = nullptr; // the control that had the focus when the window was last left
    int dpiX_ = 96, dpiY_ = 96;
    bool busy_ = false;
    bool closed_ = false; // "<-" is written: the run has ended
};

} // namespace ww
