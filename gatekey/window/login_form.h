#pragma once
// The login window's behaviour, behind what it needs of its controls, the browser, the lamps,
// the file system and the probe. The Win32 window forwards its events to these handlers.
#include "led/lamp.h"
#include "probe/probe_api.h"
#include "window/files.h"

#include <string>

namespace gk {

enum class Field { Host, Port, User, Password };

class FormView {
  public:
    virtual std::string FieldText(Field field) = 0;
    virtual void SetLoginEnabled(bool enabled) = 0;
    virtual bool HidePasswordTicked() = 0;
    // '\0' shows the password in clear text.
    virtual void SetPasswordChar(char c) = 0;
    // Runs the resize handler before it returns.
    virtual void Maximize() = 0;
    virtual bool Maximized() = 0;
    virtual void HidePanel() = 0;
    // ShellExecute "open" of file; the result is not examined.
    virtual void OpenInShell(const std::string& file) = 0;
    // A message box with OK and the exclamation icon under the program's title.
    virtual void ShowMessage(const std::string& text) = 0;

  protected:
    ~FormView() = default;
};

class Browser {
  public:
    // False when the control could not be made (no atl.dll, no WebBrowser); the other calls
    // then do nothing.
    virtual bool Exists() = 0;
    virtual void Move(int left, int top) = 0;
    virtual void SetSize(int width, int height) = 0;
    virtual bool Visible() = 0;
    virtual void Show() = 0;
    // headers: extra request headers, each ending in CRLF; may be empty.
    virtual void Navigate(const std::string& url, const std::string& headers) = 0;
    // The keyboard goes to the page.
    virtual void Focus() = 0;

  protected:
    ~Browser() = default;
};

struct LoginForm {
    FormView* view = nullptr;
    Browser* browser = nullptr;
    Lamp* ledRouter = nullptr;
    Lamp* ledNet = nullptr;
    Files* files = nullptr;
    ProbeApi* probe = nullptr;

    std::string SettingsPath;
    std::string InternetHost;
    std::string LoginUrl;
    std::string loginHeaders; // the credentials again, for browsers that refuse them in the URL
};

// Every field holds at least one character (blanks count).
bool LoginAllowed(const std::string& host, const std::string& port, const std::string& user,
                  const std::string& password);

// What Login says on a PC without the browser control: the start page's address to open
// elsewhere, without the credentials.
std::string NoBrowserMessage(const std::string& host, const std::string& port);

void Form_Load(LoginForm& form);
void Form_Resize(LoginForm& form, int clientWidth, int clientHeight);
void UpdateLoginButton(LoginForm& form);
void cmdLogin_Click(LoginForm& form);
void Check1_Click(LoginForm& form);
void lblURL_Click(LoginForm& form);
void txtHost_LostFocus(LoginForm& form);

} // namespace gk
