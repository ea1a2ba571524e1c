#pragma once
// The WebBrowser control hosted in a plain child window through the system's atl.dll.
#include "common/win32/owners.h"
#include "window/login_form.h"

#include <windows.h>
#include <exdisp.h>

namespace gk::win32 {

class BrowserHost final : public Browser {
  public:
    // Created hidden; without atl.dll or the control the window stays empty and Navigate does
    // nothing.
    BrowserHost(HWND parent, int id, RECT place);
    HWND hwnd() const { return window_.get(); }
    // Gives the page its keys (Tab, Backspace, shortcuts); true when it used the message.
    bool TranslateKey(MSG& msg);

    bool Exists() override { return browser_.get() != nullptr; }
    void Move(int left, int top) override;
    void SetSize(int width, int height) override;
    bool Visible() override;
    void Show() override;
    void Navigate(const std::string& url, const std::string& headers) override;
    void Focus() override;

  private:
    corvane::Module atl_; // outlives the window of its class
    corvane::Window window_;
    corvane::ComPtr<IWebBrowser2> browser_;
    bool shown_ = false; // also without a window, so the panel goes only once
};

} // namespace gk::win32
