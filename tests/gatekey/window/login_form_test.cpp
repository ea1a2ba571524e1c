#include "fakes/gatekey/fake_form.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gk::test {
namespace {

using Strings = std::vector<std::string>;

size_t Probes(const FakeProbeApi& api) {
    return static_cast<size_t>(std::count(api.calls.begin(), api.calls.end(), "WSAStartup"));
}

TEST(FormLoad, ParksTheBrowserReadsSettingsAndChecksTheInternet) {
    FakeForm f;
    f.files.files["C:\\Tools\\Settings.ini"] = "127.0.0.2";
    Form_Load(f.form);
    EXPECT_EQ(f.browser.calls, (Strings{"Move 0,0", "Navigate about:blank"}));
    EXPECT_EQ(f.form.SettingsPath, "C:\\Tools\\Settings.ini");
    EXPECT_EQ(f.form.InternetHost, "127.0.0.2");
    EXPECT_EQ(f.probe.calls[1], "inet_addr 127.0.0.2");
    EXPECT_EQ(f.ledNet.writes, (Strings{"FillColor 65280", "Caption Connected to Internet"}));
    EXPECT_TRUE(f.ledRouter.writes.empty());
    EXPECT_TRUE(f.form.LoginUrl.empty());
}

TEST(FormLoad, InternetLampPerSettingsFile) {
    struct Case {
        const char* what;
        bool exists;
        std::string content;
        const char* caption;
    } cases[] = {
        {"no file", false, "", "Connected to Internet"},
        {"loopback", true, "127.0.0.1", "Connected to Internet"},
        {"empty", true, "", "Not connected to Internet"},
        {"not an address", true, "not-an-ip", "Not connected to Internet"},
        {"too large", true, std::string(70000, '1'), "Not connected to Internet"},
    };
    for (const Case& c : cases) {
        FakeForm f;
        f.files.folder = "C:\\";
        if (c.exists) f.files.files["C:\\Settings.ini"] = c.content;
        Form_Load(f.form);
        EXPECT_EQ(f.ledNet.Caption(), c.caption) << c.what;
    }
}

TEST(UpdateLoginButton, EnabledOnlyWithAllFourFieldsFilled) {
    FakeForm f;
    f.Type(Field::Host, "192.168.0.1");
    EXPECT_FALSE(f.loginEnabled);
    f.Type(Field::User, "admin");
    EXPECT_FALSE(f.loginEnabled);
    f.Type(Field::Password, " ");
    EXPECT_TRUE(f.loginEnabled) << "blanks count as filled";
    for (const Field cleared : {Field::Host, Field::Port, Field::User, Field::Password}) {
        const std::string kept = f.fields[cleared];
        f.Type(cleared, "");
        EXPECT_FALSE(f.loginEnabled);
        f.Type(cleared, kept);
        EXPECT_TRUE(f.loginEnabled);
    }
}

TEST(LoginAllowed, TableOfFields) {
    EXPECT_TRUE(LoginAllowed("h", "p", "u", "w"));
    EXPECT_TRUE(LoginAllowed(" ", " ", " ", " "));
    EXPECT_FALSE(LoginAllowed("", "80", "u", "w"));
    EXPECT_FALSE(LoginAllowed("h", "", "u", "w"));
    EXPECT_FALSE(LoginAllowed("h", "80", "", "w"));
    EXPECT_FALSE(LoginAllowed("h", "80", "u", ""));
}

TEST(CmdLogin, RevealsTheBrowserAndNavigatesWithCredentials) {
    FakeForm f;
    Form_Load(f.form);
    f.browser.calls.clear();
    f.browser.headers.clear();
    f.Type(Field::Host, "192.168.0.1");
    f.Type(Field::User, "user");
    f.Type(Field::Password, "pw");
    cmdLogin_Click(f.form);
    EXPECT_EQ(f.form.LoginUrl, "http://user:pw@192.168.0.1:80/doc/index.htm");
    EXPECT_EQ(f.browser.calls,
              (Strings{"Show", "Navigate http://user:pw@192.168.0.1:80/doc/index.htm", "Focus"}));
    EXPECT_EQ(f.browser.headers, (Strings{"Authorization: Basic dXNlcjpwdw==\r\n"}));
    EXPECT_FALSE(f.panelVisible);
    EXPECT_EQ(f.browser.width, 1024);
    EXPECT_EQ(f.browser.height, 740);
}

TEST(FormResize, LaterSizesOnlyResizeTheBrowser) {
    FakeForm f;
    Form_Resize(f.form, 431, 199);
    EXPECT_EQ(f.browser.width, 431);
    EXPECT_TRUE(f.browser.calls.empty()) << "a normal window keeps the panel";
    f.Type(Field::Host, "h");
    f.Type(Field::User, "u");
    f.Type(Field::Password, "p");
    cmdLogin_Click(f.form);
    f.maximized = false;
    Form_Resize(f.form, 431, 199);
    f.maximized = true;
    Form_Resize(f.form, 800, 600);
    EXPECT_EQ(std::count_if(f.browser.calls.begin(), f.browser.calls.end(),
                            [](const std::string& c) { return c.rfind("Navigate", 0) == 0; }),
              1);
    EXPECT_TRUE(f.browser.visible);
    EXPECT_EQ(f.browser.width, 800);
}

TEST(FormResize, MaximisedBeforeLoginKeepsThePanelUntilLogin) {
    FakeForm f;
    f.maximized = true;
    Form_Resize(f.form, 1024, 740);
    EXPECT_TRUE(f.panelVisible);
    EXPECT_FALSE(f.browser.visible);
    EXPECT_TRUE(f.browser.calls.empty());
    EXPECT_EQ(f.browser.width, 1024);
    f.Type(Field::Host, "192.168.0.1");
    f.Type(Field::User, "u");
    f.Type(Field::Password, "p");
    cmdLogin_Click(f.form);
    EXPECT_FALSE(f.panelVisible);
    EXPECT_EQ(f.browser.calls,
              (Strings{"Show", "Navigate http://u:p@192.168.0.1:80/doc/index.htm", "Focus"}));
}

TEST(CmdLogin, WithoutTheBrowserControlKeepsThePanelAndNamesTheAddressWithoutCredentials) {
    FakeForm f;
    f.browser.exists = false;
    f.Type(Field::Host, "192.168.0.1");
    f.Type(Field::Port, "8080");
    f.Type(Field::User, "admin");
    f.Type(Field::Password, "s3cr:t@");
    cmdLogin_Click(f.form);
    EXPECT_EQ(f.messages,
              (Strings{"The router's pages cannot be shown because this PC has no web browser "
                       "control.\r\n\r\nOpen http://192.168.0.1:8080/doc/index.htm in your "
                       "web browser."}));
    EXPECT_TRUE(f.panelVisible);
    EXPECT_FALSE(f.maximized);
    EXPECT_TRUE(f.form.LoginUrl.empty());
    // Maximised by hand afterwards, the window still keeps its panel.
    f.maximized = true;
    Form_Resize(f.form, 1024, 740);
    EXPECT_TRUE(f.panelVisible);
    EXPECT_TRUE(f.browser.calls.empty());
    // Pressed again, it says so again.
    cmdLogin_Click(f.form);
    EXPECT_EQ(f.messages.size(), 2u);
}

TEST(NoBrowserMessage, TheAddressAsTypedBetweenTheTwoSentences) {
    EXPECT_EQ(NoBrowserMessage("router", "80"),
              "The router's pages cannot be shown because this PC has no web browser control."
              "\r\n\r\nOpen http://router:80/doc/index.htm in your web browser.");
    EXPECT_EQ(NoBrowserMessage(" 10.0.0.1", "8o"),
              "The router's pages cannot be shown because this PC has no web browser control."
              "\r\n\r\nOpen http:// 10.0.0.1:8o/doc/index.htm in your web browser.");
}

TEST(Check1, MasksAndUnmasksThePassword) {
    FakeForm f;
    f.hideTicked = false;
    Check1_Click(f.form);
    EXPECT_EQ(f.passwordChar, '\0');
    f.hideTicked = true;
    Check1_Click(f.form);
    EXPECT_EQ(f.passwordChar, '*');
}

TEST(LblUrl, OpensTheVendorSite) {
    FakeForm f;
    lblURL_Click(f.form);
    EXPECT_EQ(f.opened, (Strings{"www.corvane.example"}));
}

TEST(TxtHostLostFocus, ProbesOnlyAFilledHostEveryTime) {
    FakeForm f;
    txtHost_LostFocus(f.form);
    EXPECT_EQ(Probes(f.probe), 0u);
    EXPECT_TRUE(f.ledRouter.writes.empty());
    f.fields[Field::Host] = "127.0.0.1";
    txtHost_LostFocus(f.form);
    txtHost_LostFocus(f.form);
    EXPECT_EQ(Probes(f.probe), 2u);
    EXPECT_EQ(f.ledRouter.Caption(), "Connected to Router");
    f.fields[Field::Host] = " ";
    txtHost_LostFocus(f.form);
    EXPECT_EQ(f.ledRouter.Caption(), "Not connected to Router");
}

} // namespace
} // namespace gk::test
