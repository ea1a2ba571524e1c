#pragma once
// The login window's controls and browser as plain state, wired into a LoginForm with the other
// fakes. Maximize runs the resize handler as the real window does.
#include "fakes/gatekey/fake_files.h"
#include "fakes/gatekey/fake_lamp.h"
#include "fakes/gatekey/fake_probe_api.h"
#include "window/login_form.h"

#include <map>
#include <string>
#include <vector>

namespace gk::test {

class FakeBrowser final : public Browser {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> headers;
    bool exists = true;
    bool visible = false;
    int width = 0, height = 0;

    bool Exists() override { return exists; }
    void Move(int left, int top) override {
        calls.push_back("Move " + std::to_string(left) + "," + std::to_string(top));
    }
    void SetSize(int w, int h) override {
        width = w;
        height = h;
    }
    bool Visible() override { return visible; }
    void Show() override {
        visible = true;
        calls.push_back("Show");
    }
    void Navigate(const std::string& url, const std::string& extra) override {
        calls.push_back("Navigate " + url);
        headers.push_back(extra);
    }
    void Focus() override { calls.push_back("Focus"); }
};

class FakeForm final : public FormView {
  public:
    FakeForm() {
        form.view = this;
        form.browser = &browser;
        form.ledRouter = &ledRouter;
        form.ledNet = &ledNet;
        form.files = &files;
        form.probe = &probe;
    }
    FakeForm(const FakeForm&) = delete;
    FakeForm& operator=(const FakeForm&) = delete;

    // Types into a field and raises its change event.
    void Type(Field field, const std::string& text) {
        fields[field] = text;
        UpdateLoginButton(form);
    }

    std::string FieldText(Field field) override { return fields[field]; }
    void SetLoginEnabled(bool enabled) override { loginEnabled = enabled; }
    bool HidePasswordTicked() override { return hideTicked; }
    void SetPasswordChar(char c) override { passwordChar = c; }
    void Maximize() override {
        maximized = true;
        Form_Resize(form, 1024, 740);
    }
    bool Maximized() override { return maximized; }
    void HidePanel() override { panelVisible = false; }
    void OpenInShell(const std::string& file) override { opened.push_back(file); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::map<Field, std::string> fields{{Field::Port, "80"}};
    bool loginEnabled = false;
    bool hideTicked = true;
    char passwordChar = '*';
    bool maximized = false;
    bool panelVisible = true;
    std::vector<std::string> opened;
    std::vector<std::string> messages;

    FakeBrowser browser;
    FakeLamp ledRouter{"Not connected to Router"};
    FakeLamp ledNet{"Not connected to Internet"};
    FakeFiles files;
    FakeProbeApi probe;
    LoginForm form;
};

} // namespace gk::test
