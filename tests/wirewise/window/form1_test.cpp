#include "window/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "fakes/wirewise/registry_snapshot.h"
#include "fakes/wirewise/test_app.h"
#include "fakes/wirewise/fake_view.h"

namespace ww::test {
namespace {

// The window with every seam faked; the program's other modules run for real on the fakes. One
// adapter, which WMI switches, so that a run on the NT road gets through unless a test says not.
struct Window {
    TestApp t;
    FakeView view;
    Form1 form{t.app, view};

    Window() {
        t.iphlp.adapters = {FakeAdapter{}};
        t.wmi.instances.push_back({"eth0", {}, {}});
    }

    // Clicks Setup Network; the texts of the boxes that run showed, in order.
    std::vector<std::string> ClickSetup() {
        const size_t before = t.ui.boxes.size();
        form.cmdWrite_Click();
        std::vector<std::string> texts;
        for (size_t i = before; i < t.ui.boxes.size(); ++i)
            texts.push_back(t.ui.boxes[i].text);
        return texts;
    }
};

const std::string kRestartQuestion =
    "Setup has finished setting up your network. Your PC needs to be rebooted before the changes "
    "can be applied. Please save your work and close any other applications.\r\n\r\n"
    "Do you wish to reboot now?\r\n\r\nSelect 'Yes' to reboot now. Select 'No' to reboot later.";
const std::string kIncomplete =
    "Setup could not finish setting up your network.\r\n\r\n"
    "Setup.log beside this program lists every setting before and after this run.";
const std::string kPassError = "An error occured in reading/writing the network";
const std::string kGoBack = "\r\n\r\nTo put your previous settings back, open ";
const std::string kIncompleteBackedUp = kIncomplete + kGoBack + "C:\\Tools\\Setup-backup.reg.";

int IndexOf(const std::vector<std::string>& lines, const std::string& line, int from = 0) {
    for (int i = from; i < static_cast<int>(lines.size()); ++i)
        if (lines[static_cast<size_t>(i)] == line) return i;
    return -1;
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// The lines appear in this order, others of the program's modules may lie between them.
testing::AssertionResult InOrder(const std::vector<std::string>& lines,
                                 std::initializer_list<std::string> wanted) {
    int at = 0;
    for (const std::string& w : wanted) {
        const int found = IndexOf(lines, w, at);
        if (found < 0) return testing::AssertionFailure() << "\"" << w << "\" missing or early";
        at = found + 1;
    }
    return testing::AssertionSuccess();
}

int FirstStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
}

TEST(Form1StartUp, WritesItsLinesInOrderAroundTheModules) {
    Window w;
    w.t.files.programPath = "C:\\Corvane\\wirewise.exe";
    w.form.Form_Load();
    EXPECT_EQ(w.form.ProgramFolder, "C:\\Corvane\\");
    EXPECT_EQ(w.t.app.LogPath, "C:\\Corvane\\Setup.log");
    const auto lines = w.t.LogLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "->");
    EXPECT_EQ(lines[1], "wirewise 1.0.10");
    EXPECT_EQ(lines[2].rfind("OS = ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "07/12/2026 09:05:03");
    EXPECT_EQ(lines[4], "User: " + w.t.app.UserName);
    EXPECT_EQ(lines[5], w.t.app.UserSid); // Windows XP: the SID line follows
    EXPECT_GT(IndexOf(lines, " *Reading...*"), 5);
    EXPECT_EQ(Count(lines, "<-"), 0);
}

// Every NT build, those that OsCode does not name included, logs the SID line and enables the
// shutdown privilege; OsCode and its line stay as the version query has them.
TEST(Form1StartUp, ThePlatformDecidesTheSidLineAndThePrivilege) {
    struct Case {
        const char* name;
        uint32_t platform, major, minor, build;
        OsFamily osCode;
        bool sidLine;
        uint32_t realBuild = 0; // RtlGetVersion's NT build behind a compatibility setting
    };
    for (const Case& c : {
             Case{"Windows 98", 1, 4, 10, 67766446, OsFamily::Win9x, false},
             Case{"NT 4", 2, 4, 0, 1381, OsFamily::Nt4, true},
             Case{"Windows 2000", 2, 5, 0, 2195, OsFamily::Win2000, true},
             Case{"Windows XP", 2, 5, 1, 2600, OsFamily::WinXp, true},
             Case{"Windows 7", 2, 6, 1, 7601, OsFamily::Other, true},
             Case{"Windows 10", 2, 10, 0, 19045, OsFamily::Other, true},
             Case{"another platform", 3, 4, 0, 0, OsFamily::Other, false},
             Case{"Win32s", 0, 3, 10, 0, OsFamily::Win32s, false},
             Case{"Windows 98 setting on Windows 10", 1, 4, 10, 67766446, OsFamily::Other, true,
                  19045},
         }) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.sys.version = {148, c.major, c.minor, c.build, c.platform};
        if (c.realBuild != 0) w.t.sys.realVersion = OsVersionInfo{148, 10, 0, c.realBuild, 2};
        w.form.Form_Load();
        EXPECT_EQ(w.t.app.OsCode, c.osCode);
        const auto lines = w.t.LogLines();
        const int user = FirstStartingWith(lines, "User: ");
        ASSERT_GT(user, 0);
        ASSERT_LT(user + 1, static_cast<int>(lines.size()));
        const std::string& next = lines[static_cast<size_t>(user + 1)];
        if (c.sidLine) {
            EXPECT_EQ(next, w.t.app.UserSid);
        } else {
            EXPECT_TRUE(w.t.app.UserSid.empty());
            EXPECT_NE(next.rfind("S-1-", 0), 0u) << next;
        }
        EXPECT_GT(IndexOf(lines, " *Reading...*"), user);
        ASSERT_EQ(w.t.sys.adjustCalls.size(), c.sidLine ? 1u : 0u);
        for (const auto& call : w.t.sys.adjustCalls)
            EXPECT_EQ(call.newState.Privileges[0].Attributes, kSePrivilegeEnabled);
    }
}

// Run as another account than the desktop's (Run as..., or elevated with an administrator's
// password): on every NT road the desktop's owner follows the SID line, and the run rewrites
// that user's Internet settings. Windows 98 has one user and asks no one.
TEST(Form1StartUp, TheDesktopsOwnerFollowsTheSidLine) {
    const std::vector<uint8_t> bobSid = FakeSystem::MakeSid(1, 5, {21, 7, 8, 9, 1004});
    const std::string bob = "S-1-5-21-7-8-9-1004";
    const struct {
        const char* name;
        OsVersionInfo version;
        bool asked;
    } cases[] = {
        {"NT 4 with a shell that answers", {148, 4, 0, 1381, 2}, true},
        {"Windows 2000", {148, 5, 0, 2195, 2}, true},
        {"Windows XP", {148, 5, 1, 2600, 2}, true},
        {"Windows 7", {148, 6, 1, 7601, 2}, true},
        {"Windows 10", {148, 10, 0, 19045, 2}, true},
        {"Windows 98", {148, 4, 10, 67766446, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.sys.version = c.version;
        w.t.sys.shellWindow = 0x10010;
        w.t.sys.shellTokenSid = bobSid;
        w.t.sys.sidNames[bobSid] = {"PC1", "bob"};
        const std::string ie =
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
        w.t.reg.SetDword(kHkeyUsers, "S-1-5-21-1004336348-1177238915-682003330-1003" + ie,
                         "ProxyEnable", 1);
        w.t.reg.SetDword(kHkeyUsers, bob + ie, "ProxyEnable", 0);
        w.form.Form_Load();
        const auto lines = w.t.LogLines();
        const int user = FirstStartingWith(lines, "User: ");
        ASSERT_GT(user, 0);
        if (!c.asked) {
            EXPECT_EQ(FirstStartingWith(lines, "Desktop user = "), -1);
            EXPECT_TRUE(w.t.sys.processAccess.empty());
            continue;
        }
        ASSERT_LT(user + 2, static_cast<int>(lines.size()));
        EXPECT_EQ(lines[static_cast<size_t>(user + 1)], w.t.app.UserSid);
        EXPECT_EQ(lines[static_cast<size_t>(user + 2)], "Desktop user = PC1\\bob " + bob);
        EXPECT_EQ(w.t.app.DesktopSid, bob);
        EXPECT_GT(IndexOf(lines, ">Proxy = 0"), 0) << "the read pass shows bob's hive";
        EXPECT_EQ(IndexOf(lines, ">Proxy = 1"), -1) << "not the account's";
        EXPECT_GT(IndexOf(lines, " *Reading...*"), user + 2);
        EXPECT_EQ(w.t.sys.adjustCalls.size(), 1u);
    }
}

TEST(Form1StartUp, AtADriveRootTheLogLiesBesideTheProgramWithOneBackslash) {
    Window w;
    w.t.files.programPath = "D:\\wirewise.exe";
    w.form.Form_Load();
    EXPECT_EQ(w.form.ProgramFolder, "D:\\");
    EXPECT_EQ(w.t.app.LogPath, "D:\\Setup.log");
    ASSERT_EQ(w.t.files.files.count("D:\\Setup.log"), 1u);
    EXPECT_EQ(w.t.LogLines().at(0), "->");
}

// A program path that cannot be had whole gives no folder: nothing is written under a bare
// name into whatever folder is current: the log and the restore file go to the data folder.
TEST(Form1StartUp, WithoutItsOwnPathNothingLandsInTheCurrentFolder) {
    Window w;
    w.t.files.programPath = "";
    w.t.app.LogPath = ""; // as the program starts
    w.form.Form_Load();
    EXPECT_EQ(w.form.ProgramFolder, "");
    w.view.connected = CheckState::Ticked;
    w.form.chkConnected_Click();
    w.form.cmdWrite_Click();
    const std::string data = "C:\\ProgramData\\Corvane\\Wirewise\\";
    EXPECT_EQ(w.t.app.LogPath, data + "Setup.log");
    for (const auto& [path, bytes] : w.t.files.files)
        EXPECT_EQ(path.rfind(data, 0), 0u) << path;
    EXPECT_EQ(w.t.files.files.count(data + "Setup-backup.reg"), 1u);
}

TEST(Form1StartUp, AFailedStepLogsItsNumberAndTheNextStepsRun) {
    Window w;
    w.t.files.versionError = 1813;
    w.form.Form_Load();
    const auto lines = w.t.LogLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "->");
    EXPECT_EQ(lines[1], "Error 1813");
    EXPECT_TRUE(
        InOrder(lines, {"07/12/2026 09:05:03", "User: " + w.t.app.UserName, " *Reading...*"}));
}

TEST(Form1StartUp, AnUnwritableLogChangesNothingButTheLog) {
    Window normal, locked;
    locked.t.files.locked.insert("C:\\Tools\\Setup.log");
    locked.t.files.commonDataFolder.clear(); // no data folder to move it to either
    normal.form.Form_Load();
    locked.form.Form_Load();
    EXPECT_TRUE(locked.t.app.logFailed);
    EXPECT_TRUE(locked.t.files.files.empty());
    EXPECT_EQ(locked.t.app.OsCode, normal.t.app.OsCode);
    EXPECT_EQ(locked.view.rows, normal.view.rows);
    EXPECT_EQ(locked.t.app.SelectedAdapter, normal.t.app.SelectedAdapter);
    ASSERT_EQ(locked.t.ui.boxes.size(), normal.t.ui.boxes.size());
    for (size_t i = 0; i < locked.t.ui.boxes.size(); ++i)
        EXPECT_EQ(locked.t.ui.boxes[i].text, normal.t.ui.boxes[i].text);
}

TEST(Form1StartUp, TheFirstRowChosenByTheAdapterListUnticksNothing) {
    Window w;
    w.form.AddItem("eth0");
    w.form.AddItem("wlan0");
    w.view.connected = CheckState::Ticked;
    w.view.writeEnabled = true;
    w.form.SetListIndex(0);
    EXPECT_EQ(w.view.selected, 0);
    EXPECT_EQ(w.t.app.SelectedAdapter, 1);
    EXPECT_EQ(w.view.connected, CheckState::Ticked);
    EXPECT_TRUE(w.view.writeEnabled);
    EXPECT_EQ(w.view.rows, (std::vector<std::string>{"eth0", "wlan0"}));
}

TEST(Form1Adapters, ChoosingAnotherRowAsksForAFreshConfirmation) {
    struct Case {
        const char* name;
        std::function<void(Window&)> act;
        CheckState connected;
        int selectedAdapter;
        int lastListIndex;
    };
    const std::vector<Case> cases = {
        {"click on the same row",
         [](Window& w) {
             w.view.selected = 0;
             w.form.cboNIC_Click();
         },
         CheckState::Ticked, 1, 0},
        {"click on another row",
         [](Window& w) {
             w.view.selected = 1;
             w.form.cboNIC_Click();
         },
         CheckState::Unticked, 2, 1},
        {"click with no row selected",
         [](Window& w) {
             w.view.selected = -1;
             w.form.cboNIC_Click();
         },
         CheckState::Unticked, 0, -1},
        {"key press that moved nothing", [](Window& w) { w.form.cboNIC_KeyPress(); },
         CheckState::Ticked, 7, 0},
        {"key up that moved nothing", [](Window& w) { w.form.cboNIC_KeyUp(); }, CheckState::Ticked,
         7, 0},
        {"key press after the row moved",
         [](Window& w) {
             w.view.selected = 1;
             w.form.cboNIC_KeyPress();
         },
         CheckState::Unticked, 2, 1},
        {"key up after the row moved",
         [](Window& w) {
             w.view.selected = 1;
             w.form.cboNIC_KeyUp();
         },
         CheckState::Unticked, 2, 1},
        {"key up after a click already followed the row",
         [](Window& w) {
             w.view.selected = 1;
             w.form.cboNIC_Click();
             w.view.connected = CheckState::Ticked;
             w.form.chkConnected_Click();
             w.form.cboNIC_KeyUp();
         },
         CheckState::Ticked, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.view.rows = {"eth0", "wlan0"};
        w.view.selected = 0;
        w.t.app.SelectedAdapter = 7; // a click sets it anew; a key event only on a change
        w.view.connected = CheckState::Ticked;
        w.form.chkConnected_Click();
        c.act(w);
        EXPECT_EQ(w.view.connected, c.connected);
        EXPECT_EQ(w.view.writeEnabled, c.connected == CheckState::Ticked);
        EXPECT_EQ(w.t.app.SelectedAdapter, c.selectedAdapter);
        EXPECT_EQ(w.form.LastListIndex, c.lastListIndex);
    }
}

TEST(Form1Confirmation, OnlyATickEnablesSetupNetwork) {
    Window w;
    for (const auto& [value, enabled] :
         {std::pair{CheckState::Ticked, true}, std::pair{CheckState::Unticked, false},
          std::pair{CheckState::Ticked, true}, std::pair{CheckState::Greyed, false}}) {
        SCOPED_TRACE(static_cast<int>(value));
        w.view.connected = value;
        w.form.chkConnected_Click();
        EXPECT_EQ(w.view.writeEnabled, enabled);
    }
}

// Hidden by the window's height, the boxes are no tab stops either; their values stay.
TEST(Form1Options, TheToggleShowsAndHidesTheFrameByTheWindowsHeightAndTheTabOrder) {
    Window w;
    w.view.gates = true;
    struct Step {
        bool shown;
        const char *caption, *tip;
        int height;
    };
    for (const Step& s :
         {Step{true, "<<", "Hide Options", 3330}, Step{false, ">>", "Show Options", 2325},
          Step{true, "<<", "Hide Options", 3330}}) {
        w.form.cmdToggle_Click();
        EXPECT_EQ(w.form.OptionsShown, s.shown);
        EXPECT_EQ(w.view.toggleCaption, s.caption);
        EXPECT_EQ(w.view.toggleTip, s.tip);
        EXPECT_EQ(w.view.outerHeight, s.height);
        EXPECT_EQ(w.view.optionsTabStops, s.shown);
        EXPECT_TRUE(w.form.chkGates());
    }
}

TEST(Form1Options, ThePassesReadTheTwoBoxesThroughTheWindow) {
    Window w;
    EXPECT_EQ(w.t.app.options, static_cast<const Options*>(&w.form));
    w.view.gates = true;
    EXPECT_TRUE(w.t.app.options->chkGates());
    EXPECT_FALSE(w.t.app.options->chkIEAuto());
    w.view.gates = false;
    w.view.ieAuto = true;
    EXPECT_FALSE(w.t.app.options->chkGates());
    EXPECT_TRUE(w.t.app.options->chkIEAuto());
}

TEST(Form1SetupRun, TwoRunsAppendTwoSequencesAndLeaveTheButtonEnabled) {
    Window w;
    w.form.Form_Load();
    w.view.connected = CheckState::Ticked;
    w.form.chkConnected_Click();
    std::vector<bool> busyDuringRun;
    w.view.onBusy = [&](bool on) { busyDuringRun.push_back(on && w.form.Busy()); };
    w.form.cmdWrite_Click();
    w.form.cmdWrite_Click();
    const auto lines = w.t.LogLines();
    const int start = IndexOf(lines, " *Set clicked*");
    ASSERT_GT(start, 0);
    const std::vector<std::string> run(lines.begin() + start, lines.end());
    EXPECT_TRUE(InOrder(run, {" *Set clicked*", " *Reading...*", "Attempt to reboot",
                              " *Set clicked*", " *Reading...*", "Attempt to reboot"}));
    EXPECT_EQ(Count(run, " *Set clicked*"), 2);
    EXPECT_EQ(Count(run, "Attempt to reboot"), 2);
    EXPECT_EQ(Count(run, "->"), 0);
    EXPECT_EQ(w.view.connected, CheckState::Ticked);
    EXPECT_TRUE(w.view.writeEnabled);
    EXPECT_FALSE(w.form.Busy());
    EXPECT_FALSE(w.view.busy);
    EXPECT_EQ(busyDuringRun, (std::vector<bool>{true, false, true, false}));
}

// A later NT build takes the NT road: the user's key by its SID, WMI finding the adapter by its
// GUID where the descriptions differ, and a restart that the privilege of start-up lets through.
TEST(Form1SetupRun, ALaterNtBuildSwitchesTheAdapterAndRestarts) {
    Window w;
    w.t.sys.version = {148, 10, 0, 19045, 2};
    w.t.sys.restartNeedsPrivilege = true;
    w.t.wmi.instances = {{"eth0 - Packet Scheduler Miniport", {}, {}, FakeAdapter{}.name}};
    w.view.ieAuto = true;
    w.form.Form_Load();
    w.view.connected = CheckState::Ticked;
    w.form.chkConnected_Click();
    w.t.ui.answers.push_back(kIdYes);
    w.form.cmdWrite_Click();

    const auto lines = w.t.LogLines();
    EXPECT_EQ(lines.at(2), "OS = Unknown");
    const std::string ie = w.t.app.UserSid + "\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                             "Internet Settings\\Connections";
    EXPECT_TRUE(
        InOrder(lines, {"User: alice", w.t.app.UserSid, " *Set clicked*", "Selected: eth0",
                        "Autokey = " + ie, "NIC(s):", "NIC setup", "IP on auto", "DNS on auto",
                        "DNS domains reset", "Releasing DHCP Lease", "Renewing DHCP Lease",
                        "IP, DNS & DHCP = True", "Completed Setup", " *Reading...*",
                        " -- Checking status: ipconfig --", "Attempt to reboot", "Rebooting"}));
    EXPECT_EQ(Count(lines, "Setup incomplete"), 0);
    EXPECT_EQ(FirstStartingWith(lines, "Reboot error: "), -1);
    EXPECT_EQ(w.t.sys.exitCalls.size(), 1u);
    ASSERT_FALSE(w.t.ui.boxes.empty());
    EXPECT_EQ(w.t.ui.boxes.back().text, kRestartQuestion);
}

// A run whose write pass ended at its error box, or whose NT adapter WMI did not switch, still
// logs the settings as they now are and the report, then says it could not finish, with no
// restart offered. The Windows 9x road's refused refresh is no failure while the adapter holds
// an address.
TEST(Form1SetupRun, AFailedRunSaysSoAndOffersNoRestart) {
    struct Case {
        const char* name;
        OsVersionInfo version;
        std::function<void(TestApp&)> arrange;
        std::vector<std::string> boxes;
    };
    const OsVersionInfo xp{148, 5, 1, 2600, 2}, win10{148, 10, 0, 19045, 2},
        win98{148, 4, 10, 67766446, 1};
    const std::vector<Case> cases = {
        {"XP, WMI without methods",
         xp,
         [](TestApp& t) { t.wmi.methodStatus = kWbemInvalidMethod; },
         {kPassError, kIncompleteBackedUp}},
        {"Windows 10, no methods",
         win10,
         [](TestApp& t) { t.wmi.methodStatus = kWbemInvalidMethod; },
         {kPassError, kIncompleteBackedUp}},
        {"Windows 10, adapter not switched",
         win10,
         [](TestApp& t) { t.wmi.instances.clear(); },
         {kIncompleteBackedUp}},
        {"XP, a method said no",
         xp,
         [](TestApp& t) { t.wmi.instances[0].returnValues["EnableDHCP"] = 84; },
         {kIncompleteBackedUp}},
        {"Windows 98, refresh refused but an address", win98, [](TestApp&) {}, {kRestartQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.sys.version = c.version;
        c.arrange(w.t);
        w.form.Form_Load();
        w.t.ui.answers.push_back(kIdNo); // the restart question, where one is asked
        EXPECT_EQ(w.ClickSetup(), c.boxes);
        const auto lines = w.t.LogLines();
        const bool failed = c.boxes.back() == kIncompleteBackedUp;
        if (failed) {
            EXPECT_EQ(w.t.ui.boxes.back().style, kMbOk | kMbIconExclamation);
            EXPECT_TRUE(InOrder(lines, {" *Set clicked*", "Backup = C:\\Tools\\Setup-backup.reg",
                                        "Selected: eth0", " *Reading...*", "Selected: eth0",
                                        " -- Checking status: ipconfig --",
                                        " -- Ipconfig complete --", "Setup incomplete"}));
            EXPECT_EQ(lines.back(), "Setup incomplete");
            EXPECT_EQ(Count(lines, "Attempt to reboot"), 0);
        } else {
            EXPECT_TRUE(InOrder(lines, {"DHCP = True", "Outcome = Done", "Completed Setup",
                                        " *Reading...*", " -- Ipconfig complete --",
                                        "Attempt to reboot", "Reboot cancelled"}));
            EXPECT_EQ(Count(lines, "Setup incomplete"), 0);
        }
        EXPECT_TRUE(w.t.sys.exitCalls.empty());
    }
}

// A switch that Windows applies at its restart ends like any other; one that the router has
// not answered yet says so, then offers the restart that brings the address once the cable is
// right.
TEST(Form1SetupRun, EveryOutcomeOfTheSwitchHasItsEnding) {
    const std::string noAddress =
        "Setup has switched this PC to get its settings from the router, but the router has not "
        "given it an address yet.\r\n\r\nCheck the cable to the router, then restart the PC.";
    const OsVersionInfo xp{148, 5, 1, 2600, 2}, win10{148, 10, 0, 19045, 2},
        win98{148, 4, 10, 67766446, 1};
    const struct {
        const char* name;
        OsVersionInfo version;
        std::function<void(TestApp&)> arrange;
        std::string outcome;
        std::vector<std::string> boxes;
    } cases[] = {
        {"Windows 10, done", win10, [](TestApp&) {}, "Outcome = Done", {kRestartQuestion}},
        {"XP, EnableDHCP 1",
         xp,
         [](TestApp& t) { t.wmi.instances[0].returnValues["EnableDHCP"] = 1; },
         "Outcome = Done, restart needed",
         {kRestartQuestion}},
        {"Windows 10, renewal 82 without an address",
         win10,
         [](TestApp& t) {
             t.wmi.instances[0].returnValues["RenewDHCPLease"] = 82;
             t.iphlp.adapters[0].ips = {{"0.0.0.0", "0.0.0.0"}};
         },
         "Outcome = No address from the router yet",
         {noAddress, kRestartQuestion}},
        {"Windows 98, renewal refused without an address",
         win98,
         [](TestApp& t) {
             t.iphlp.interfaces = {{4, u"NIC"}};
             t.iphlp.renewResults = {1168};
             t.iphlp.adapters[0].ips = {{"169.254.9.9", "255.255.0.0"}};
         },
         "Outcome = No address from the router yet",
         {"IpRenewAddress error 1168, Err# is 0", noAddress, kRestartQuestion}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.sys.version = c.version;
        c.arrange(w.t);
        w.form.Form_Load();
        w.t.ui.answers.assign(c.boxes.size() - 1, kIdOk);
        w.t.ui.answers.push_back(kIdNo);
        EXPECT_EQ(w.ClickSetup(), c.boxes);
        if (c.boxes.size() > 1) {
            const auto& box = w.t.ui.boxes[w.t.ui.boxes.size() - 2];
            EXPECT_EQ(box.style, kMbOk | kMbIconAsterisk);
        }
        const auto lines = w.t.LogLines();
        EXPECT_TRUE(InOrder(lines, {c.outcome, "Completed Setup", " -- Ipconfig complete --",
                                    "Attempt to reboot", "Reboot cancelled"}));
        EXPECT_EQ(Count(lines, "Setup incomplete"), 0);
        EXPECT_TRUE(w.t.sys.exitCalls.empty());
    }
}

// The restore file is written before the first change, beside the program or else in the temp
// folder; where neither takes it the user decides: No ends the run before any change, Yes goes
// on without a copy (and the failure box then names none).
TEST(Form1SetupRun, TheRestoreFileComesFirstOrTheUserDecides) {
    const std::string question =
        "Setup could not save a copy of your current network settings.\r\n\r\n"
        "Do you want to change them anyway?";
    struct Case {
        const char* name;
        bool programFolderWritable, dataFolder;
        int answer;                     // to the question, where it is asked
        std::vector<std::string> lines; // the run's lines from " *Set clicked*" to "Selected: "
        std::string lastBox;
    };
    const std::string inData = "C:\\ProgramData\\Corvane\\Wirewise\\Setup-backup.reg";
    const std::vector<Case> cases = {
        {"beside the program",
         true,
         true,
         kIdNo,
         {" *Set clicked*", "Backup = C:\\Tools\\Setup-backup.reg", "Selected: eth0"},
         kIncompleteBackedUp},
        {"a read-only folder",
         false,
         true,
         kIdNo,
         {" *Set clicked*", "Backup = " + inData, "Selected: eth0"},
         kIncomplete + kGoBack + inData + "."},
        {"nowhere, No", false, false, kIdNo, {" *Set clicked*", "Setup cancelled"}, question},
        {"nowhere, Yes",
         false,
         false,
         kIdYes,
         {" *Set clicked*", "Backup failed", "Selected: eth0"},
         kIncomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.wmi.instances.clear(); // the run fails: its box tells where the copy is
        w.form.Form_Load();
        if (!c.programFolderWritable) w.t.files.readOnly.insert("C:\\Tools\\");
        if (!c.dataFolder) w.t.files.commonDataFolder.clear();
        w.t.ui.answers.push_back(c.answer);
        const auto before = Snapshot(w.t.reg);
        const auto boxes = w.ClickSetup();

        const auto lines = w.t.LogLines();
        const int start = IndexOf(lines, " *Set clicked*");
        ASSERT_GE(start, 0);
        const std::vector<std::string> run(lines.begin() + start, lines.end());
        ASSERT_GE(run.size(), c.lines.size());
        EXPECT_EQ(std::vector<std::string>(run.begin(), run.begin() + c.lines.size()), c.lines);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back(), c.lastBox);
        if (c.lastBox == question) {
            EXPECT_EQ(w.t.ui.boxes.back().style, kMbYesNo | kMbIconExclamation | kMbDefButton2);
            EXPECT_EQ(run.size(), 2u) << "nothing after the cancel";
            EXPECT_EQ(Snapshot(w.t.reg), before);
        }
        size_t restoreFiles = 0;
        for (const auto& [path, bytes] : w.t.files.files) {
            EXPECT_EQ(path.find(".tmp"), std::string::npos) << path;
            if (path.find("Setup-backup") != std::string::npos) {
                ++restoreFiles;
                EXPECT_EQ(bytes.rfind("REGEDIT4\r\n", 0), 0u) << path;
            }
        }
        EXPECT_EQ(restoreFiles, c.lines[1].rfind("Backup = ", 0) == 0 ? 1u : 0u);
        // Elevated on NT: nothing in the user's temporary folder, whatever else fails.
        for (const auto& [path, bytes] : w.t.files.files)
            EXPECT_NE(path.rfind(w.t.files.tempFolder, 0), 0u) << path;
    }
}

// Each run writes a file of its own: the first keeps the settings as they were before any run.
TEST(Form1SetupRun, AnEarlierRestoreFileIsNeverOverwritten) {
    Window w;
    w.t.files.files["C:\\Tools\\Setup-backup-2.reg"] = "someone else's";
    w.form.Form_Load();
    w.t.reg.SetDword(kHkeyUsers,
                     w.t.app.UserSid + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                                       "Settings\\",
                     "ProxyEnable", 1);
    for (int run = 0; run < 2; ++run)
        w.form.cmdWrite_Click();
    const auto lines = w.t.LogLines();
    EXPECT_TRUE(InOrder(
        lines, {"Backup = C:\\Tools\\Setup-backup.reg", "Backup = C:\\Tools\\Setup-backup-3.reg"}));
    const std::string& first = w.t.files.files.at("C:\\Tools\\Setup-backup.reg");
    const std::string& third = w.t.files.files.at("C:\\Tools\\Setup-backup-3.reg");
    EXPECT_NE(first.find("\"ProxyEnable\"=dword:00000001"), std::string::npos) << first;
    EXPECT_NE(third.find("\"ProxyEnable\"=dword:00000000"), std::string::npos) << third;
    EXPECT_EQ(w.t.files.files.at("C:\\Tools\\Setup-backup-2.reg"), "someone else's");
}

// Run from a CD: the log and the restore file go to the data folder, where nothing found is
// replaced or deleted and a link on the way is refused; the failure box says where the log is.
TEST(Form1SetupRun, FromAReadOnlyFolderTheBoxNamesTheDataFolder) {
    const std::string data = "C:\\ProgramData\\Corvane\\Wirewise\\";
    const std::string question =
        "Setup could not save a copy of your current network settings.\r\n\r\n"
        "Do you want to change them anyway?";
    const std::string failed = "Setup could not finish setting up your network.";
    const std::string logThere = "\r\n\r\nSetup.log in C:\\ProgramData\\Corvane\\Wirewise "
                                 "lists every setting before and after this run.";
    struct Case {
        const char* name;
        bool linkedFolder;  // the program's data folder is a junction
        bool linkedLog;     // Setup.log there is a link
        std::string tmp;    // a file found under this temporary name
        std::string backup; // "" where the question is asked (and answered Yes)
        std::string lastBox;
    };
    const std::vector<Case> cases = {
        {"a closed folder", false, false, "Setup-backup-3.reg.tmp", data + "Setup-backup-2.reg",
         failed + logThere + kGoBack + data + "Setup-backup-2.reg."},
        {"a link named Setup.log", false, true, "Setup-backup-3.reg.tmp",
         data + "Setup-backup-2.reg", failed + kGoBack + data + "Setup-backup-2.reg."},
        {"a junction for the folder", true, false, "Setup-backup-3.reg.tmp", "", failed},
        // A crashed run's leftover costs no later run its copy: a fresh temporary name is taken.
        {"the next temporary name taken", false, false, "Setup-backup-2.reg.tmp",
         data + "Setup-backup-2.reg", failed + logThere + kGoBack + data + "Setup-backup-2.reg."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.t.wmi.instances.clear(); // the run fails
        w.t.files.readOnly.insert("C:\\Tools\\");
        w.t.files.locked.insert("C:\\Tools\\Setup.log");
        w.t.files.folders.insert("C:\\ProgramData\\Corvane\\");
        w.t.files.folders.insert(data);
        if (c.linkedFolder) w.t.files.reparsePoints.insert(data.substr(0, data.size() - 1));
        if (c.linkedLog) w.t.files.reparsePoints.insert(data + "Setup.log");
        // An earlier run's file and a file under a temporary name stay as they are.
        w.t.files.files[data + "Setup-backup.reg"] = "the first run's";
        w.t.files.files[data + c.tmp] = "planted";
        w.t.app.LogPath.clear(); // as the program starts
        w.form.Form_Load();
        w.t.ui.answers.push_back(kIdYes);
        const auto boxes = w.ClickSetup();

        ASSERT_FALSE(boxes.empty());
        if (c.backup.empty()) {
            EXPECT_EQ(boxes.front(), question);
        }
        EXPECT_EQ(boxes.back(), c.lastBox);
        EXPECT_EQ(w.t.files.files.at(data + "Setup-backup.reg"), "the first run's");
        EXPECT_EQ(w.t.files.files.at(data + c.tmp), "planted");
        EXPECT_EQ(w.t.files.files.count(data + "Setup-backup-2.reg"), c.backup.empty() ? 0u : 1u);
        const bool logged = !c.linkedFolder && !c.linkedLog;
        EXPECT_EQ(w.t.files.files.count(data + "Setup.log"), logged ? 1u : 0u);
        if (logged) {
            EXPECT_TRUE(InOrder(w.t.LogLines(),
                                {"->", c.backup.empty() ? "Backup failed" : "Backup = " + c.backup,
                                 "Setup incomplete"}));
        }
        for (const auto& [path, bytes] : w.t.files.files)
            EXPECT_NE(path.rfind(w.t.files.tempFolder, 0), 0u) << path;
    }
}

// Run from a CD, a run that switched and one the user cancelled end with a box that says where
// the log and the restore file are; beside the program they say nothing of it.
TEST(Form1SetupRun, FromAReadOnlyFolderTheLastBoxNamesTheDataFolder) {
    const std::string data = "C:\\ProgramData\\Corvane\\Wirewise\\";
    const std::string logThere = "\r\n\r\nSetup.log in C:\\ProgramData\\Corvane\\Wirewise ";
    struct Case {
        const char* name;
        bool fromCd;      // neither Setup.log nor a restore file can be made beside the program
        bool dataRefuses; // the data folder takes the log but no new file
        int answer;
        std::string lastBox;
        std::string lastLine;
    };
    const std::vector<Case> cases = {
        {"switched, from a CD", true, false, kIdNo,
         kRestartQuestion + logThere + "lists every setting before and after this run." + kGoBack +
             data + "Setup-backup.reg.",
         "Reboot cancelled"},
        {"switched, beside the program", false, false, kIdNo, kRestartQuestion, "Reboot cancelled"},
        {"cancelled, from a CD", true, true, kIdNo,
         "Setup could not save a copy of your current network settings." + logThere +
             "lists them.\r\n\r\nDo you want to change them anyway?",
         "Setup cancelled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        if (c.fromCd) {
            w.t.files.readOnly.insert("C:\\Tools\\");
            w.t.files.locked.insert("C:\\Tools\\Setup.log");
        }
        w.t.app.LogPath.clear(); // as the program starts
        w.form.Form_Load();
        if (c.dataRefuses) w.t.files.readOnly.insert(data);
        w.t.ui.answers.push_back(c.answer);
        w.form.cmdWrite_Click();
        ASSERT_FALSE(w.t.ui.boxes.empty());
        EXPECT_EQ(w.t.ui.boxes.back().text, c.lastBox);
        EXPECT_EQ(w.t.LogLines().back(), c.lastLine);
        EXPECT_EQ(w.t.app.LogPath, (c.fromCd ? data : "C:\\Tools\\") + "Setup.log");
    }
}

// Too long a path to load the program's files from: one box says so, and start-up goes on to
// show the window without a second one.
TEST(Form1Startup, APathTooLongShowsOneBoxOnly) {
    Window w;
    const std::string folder = "C:\\" + std::string(250, 'x') + "\\";
    w.t.files.programPath = folder + "wirewise.exe";
    w.t.iphlp.files = {folder + "iphlpapi_9x.dll", folder + "iphlpapi_2k.dll",
                       folder + "iphlpapi_xp.dll"};
    w.t.app.LogPath.clear();
    w.form.Form_Load();
    ASSERT_EQ(w.t.ui.boxes.size(), 1u);
    EXPECT_EQ(
        w.t.ui.boxes[0].text.rfind("The folder this program runs from has too long a path", 0), 0u);
    EXPECT_EQ(Count(w.t.LogLines(), "No Network adapters found"), 1);
    EXPECT_EQ(Count(w.t.LogLines(), " *Reading...*"), 1);
}

TEST(Form1SetupRun, AClickThatArrivesDuringARunStartsNoSecondRun) {
    Window w;
    w.view.onBusy = [&](bool on) {
        if (on) w.form.cmdWrite_Click();
    };
    w.form.cmdWrite_Click();
    EXPECT_EQ(Count(w.t.LogLines(), " *Set clicked*"), 1);
}

TEST(Form1Close, TheBusyGuardAsksOnlyDuringASetupRun) {
    struct Case {
        const char* name;
        bool duringRun;
        int answer;
        CloseAnswer result;
    };
    for (const Case& c : {Case{"ready", false, kIdYes, CloseAnswer::Close},
                          Case{"busy, No", true, kIdNo, CloseAnswer::Cancel},
                          Case{"busy, Yes", true, kIdYes, CloseAnswer::EndAtOnce}}) {
        SCOPED_TRACE(c.name);
        Window w;
        w.form.Form_Load();
        w.t.ui.answers.push_back(c.answer);
        CloseAnswer result = CloseAnswer::Close;
        size_t boxesBefore = 0;
        if (c.duringRun) {
            w.view.onBusy = [&](bool on) {
                if (!on) return;
                boxesBefore = w.t.ui.boxes.size();
                result = w.form.Form_QueryUnload();
            };
            w.form.cmdWrite_Click();
            ASSERT_GT(w.t.ui.boxes.size(), boxesBefore);
            EXPECT_EQ(w.t.ui.boxes[boxesBefore].text,
                      "The program is busy - do you still wish to close it?");
            EXPECT_EQ(w.t.ui.boxes[boxesBefore].style, kMbYesNo);
            EXPECT_EQ(Count(w.t.LogLines(), "<-"), 0);
        } else {
            boxesBefore = w.t.ui.boxes.size();
            result = w.form.Form_QueryUnload();
            EXPECT_EQ(w.t.ui.boxes.size(), boxesBefore);
            EXPECT_EQ(w.t.LogLines().back(), "<-");
        }
        EXPECT_EQ(result, c.result);
    }
}

TEST(Form1Close, TheRestartsOwnCloseRequestEndsTheLogWithTheMark) {
    // Windows may deliver the close of a restart before the request returns.
    Window w;
    CloseAnswer answer = CloseAnswer::Cancel;
    w.t.sys.onExitWindows = [&] { answer = w.form.Form_QueryUnload(); };
    w.form.Form_Load();
    w.t.ui.answers.push_back(kIdYes);
    w.form.cmdWrite_Click();
    EXPECT_EQ(answer, CloseAnswer::Close);
    const auto lines = w.t.LogLines();
    EXPECT_TRUE(InOrder(lines, {"Attempt to reboot", "Rebooting", "<-"}));
    for (const auto& box : w.t.ui.boxes)
        EXPECT_NE(box.text, "The program is busy - do you still wish to close it?");
}

TEST(Form1Close, AfterARunTheCloseEndsTheLogWithTheMark) {
    Window w;
    w.form.Form_Load();
    w.form.cmdWrite_Click();
    EXPECT_EQ(w.form.Form_QueryUnload(), CloseAnswer::Close);
    const auto lines = w.t.LogLines();
    EXPECT_EQ(lines.front(), "->");
    EXPECT_EQ(lines.back(), "<-");
    EXPECT_EQ(Count(lines, "<-"), 1);
}

} // namespace
} // namespace ww::test
