#include "window/login_form.h"

#include "window/layout.h"
#include "window/login_url.h"
#include "window/monitor.h"
#include "window/settings_file.h"

namespace gk {

bool LoginAllowed(const std::string& host, const std::string& port, const std::string& user,
                  const std::string& password) {
    return !host.empty() && !port.empty() && !user.empty() && !password.empty();
}

std::string NoBrowserMessage(const std::string& host, const std::string& port) {
    return "The router's pages cannot be shown because this PC has no web browser control.\r\n"
           "\r\nOpen " +
           StartPageAddress(host, port) + " in your web browser.";
}

void Form_Load(LoginForm& form) {
    form.browser->Move(0, 0);
    form.browser->Navigate("about:blank", {});
    form.SettingsPath = SettingsPathIn(form.files->ProgramFolder());
    form.InternetHost = ReadInternetHost(*form.files, form.SettingsPath);
    CheckInternet(*form.probe, *form.ledNet, form.InternetHost);
}

void Form_Resize(LoginForm& form, int clientWidth, int clientHeight) {
    form.browser->SetSize(clientWidth, clientHeight);
    // Only the Login button's maximise opens the browser. Maximised by hand before it, the
    // window keeps its panel: there is no address to open yet, and the panel could never return.
    if (form.view->Maximized() && !form.browser->Visible() && !form.LoginUrl.empty()) {
        form.browser->Show();
        form.view->HidePanel();
        form.browser->Navigate(form.LoginUrl, form.loginHeaders);
        // The focus was in the panel, which is gone: Tab and typing belong to the page now.
        form.browser->Focus();
    }
}

void UpdateLoginButton(LoginForm& form) {
    FormView& v = *form.view;
    v.SetLoginEnabled(LoginAllowed(v.FieldText(Field::Host), v.FieldText(Field::Port),
                                   v.FieldText(Field::User), v.FieldText(Field::Password)));
}

void cmdLogin_Click(LoginForm& form) {
    FormView& v = *form.view;
    const std::string host = v.FieldText(Field::Host);
    const std::string port = v.FieldText(Field::Port);
    const std::string user = v.FieldText(Field::User);
    const std::string password = v.FieldText(Field::Password);
    // Without the control the browser state would be an empty window with no way back; the
    // panel stays and the user learns where to go instead.
    if (!form.browser->Exists()) {
        v.ShowMessage(NoBrowserMessage(host, port));
        return;
    }
    form.LoginUrl = BuildLoginUrl(host, port, user, password);
    form.loginHeaders = BasicAuthHeader(user, password);
    v.Maximize();
}

void Check1_Click(LoginForm& form) {
    form.view->SetPasswordChar(form.view->HidePasswordTicked() ? '*' : '\0');
}

void lblURL_Click(LoginForm& form) {
    form.view->OpenInShell(kVendorSite);
}

void txtHost_LostFocus(LoginForm& form) {
    const std::string host = form.view->FieldText(Field::Host);
    if (!host.empty()) CheckRouter(*form.probe, *form.ledRouter, host);
}

} // namespace gk
