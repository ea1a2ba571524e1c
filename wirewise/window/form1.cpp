#include "window/form1.h"

#include <system_error>

#include "adapters/adapter_list.h"
#include "adapters/ipconfig_report.h"
#include "engine/restore_file.h"
#include "engine/settings_pass.h"
#include "platform/desktop_user.h"
#include "platform/identity.h"
#include "platform/log.h"
#include "platform/registry_values.h"
#include "platform/restart.h"
#include "platform/windows_version.h"
#include "seams/clock.h"
#include "seams/files.h"
#include "seams/ui.h"
#include "window/program_file.h"
#include "window/step_guard.h"

namespace ww {
namespace {

constexpr char kSetupIncomplete[] = "Setup could not finish setting up your network.";

// Where the log really is: beside the program, in the data folder, or nowhere (then unsaid).
std::string LogSentence(const App& app, const std::string& programFolder) {
    const std::string folder = LogFolder(app);
    if (folder.empty()) return "";
    const bool beside = !programFolder.empty() && folder + '\\' == programFolder;
    return "\r\n\r\nSetup.log " + (beside ? "beside this program" : "in " + folder) +
           " lists every setting before and after this run.";
}

std::string GoBackSentence(const std::string& backupPath) {
    return "\r\n\r\nTo put your previous settings back, open " + backupPath + ".";
}

// The ending of a run that switched: where its log and restore file are, when that is not
// beside the program (a CD), so that the user can find them.
std::string ElsewhereNote(const App& app, const std::string& programFolder,
                          const std::string& backupPath) {
    std::string note;
    if (!LogFolderElsewhere(app, programFolder).empty()) note += LogSentence(app, programFolder);
    const bool backupBeside = !programFolder.empty() && backupPath.rfind(programFolder, 0) == 0 &&
                              backupPath.find('\\', programFolder.size()) == std::string::npos;
    if (!backupPath.empty() && !backupBeside) note += GoBackSentence(backupPath);
    return note;
}

constexpr char kNoAddressYet[] =
    "Setup has switched this PC to get its settings from the router, but the router has not "
    "given it an address yet.\r\n\r\n"
    "Check the cable to the router, then restart the PC.";

// Marks a setup run in progress for as long as it lasts, on every way out.
class BusyScope {
  public:
    BusyScope(bool& busy, Form1View& view) : busy_(busy), view_(view) {
        busy_ = true;
        view_.SetBusyPointer(true);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() {
        view_.SetBusyPointer(false);
        busy_ = false;
    }

  private:
    bool& busy_;
    Form1View& view_;
};

// The run's steps report their own failures; anything they let escape must not end the run
// nor cross the window procedure.
template <class Step> void Quietly(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

} // namespace

Form1::Form1(App& app, Form1View& view) : Scan(app), app_(app), view_(view) {
    app_.options = this;
}

void Form1::Form_Load() {
    std::string programPath;
    GuardedStep(app_, [&] {
        programPath = app_.files->ProgramPath();
        if (!programPath.empty()) ProgramFolder = ProgramFolderOf(programPath);
    });
    // Without the program's folder a bare "Setup.log" would land in whatever folder is current.
    GuardedStep(app_, [&] {
        if (!ProgramFolder.empty()) app_.LogPath = ProgramFolder + "Setup.log";
    });
    GuardedStep(app_, [&] { WriteLog(app_, "->"); });
    GuardedStep(app_, [&] {
        FileVersion version;
        if (const uint32_t error = app_.files->ProgramVersion(version))
            throw std::system_error(static_cast<int>(error), std::system_category());
        WriteLog(app_, VersionLine(programPath, version));
    });
    GuardedStep(app_, [&] { app_.OsCode = DetectOS(app_); });
    GuardedStep(app_, [&] {
        WriteLog(app_, DateLine(app_.clock->Now(), app_.clock->DateSeparator(),
                                app_.clock->TimeSeparator()));
    });
    GuardedStep(app_, [&] { app_.UserName = GetLoggedUser(app_); });
    GuardedStep(app_, [&] { WriteLog(app_, "User: " + app_.UserName); });
    // Every NT build: the user's key is named by the SID there, and a restart needs the privilege.
    if (RoadOf(app_) == Road::Nt) {
        GuardedStep(app_, [&] { app_.UserSid = GetUserSid(app_); });
        GuardedStep(app_, [&] { WriteLog(app_, app_.UserSid); });
        GuardedStep(app_, [&] { NoteDesktopUser(app_); });
        GuardedStep(app_, [&] { EnableShutdownPrivilege(app_); });
    }
    GuardedStep(app_, [&] { ListAdapters(app_, *this); });
    if (app_.OsCode == OsFamily::Win9x) {
        GuardedStep(app_, [&] {
            Scan.ScanPosition = 0;
            Scan.SearchNextWin9xNIC();
        });
    }
    GuardedStep(app_, [&] { WriteLog(app_, " *Reading...*"); });
    GuardedStep(app_, [&] { ConfigureNetwork(app_, true); });
}

void Form1::cboNIC_Click() {
    const int row = view_.SelectedAdapterRow();
    app_.SelectedAdapter = static_cast<int16_t>(row + 1);
    if (row != LastListIndex) {
        UntickConnected();
        LastListIndex = row;
    }
}

void Form1::cboNIC_KeyPress() {
    FollowRowChange(view_.SelectedAdapterRow());
}

void Form1::cboNIC_KeyUp() {
    FollowRowChange(view_.SelectedAdapterRow());
}

void Form1::FollowRowChange(int row) {
    if (row == LastListIndex) return;
    app_.SelectedAdapter = static_cast<int16_t>(row + 1);
    UntickConnected();
    LastListIndex = row;
}

// A change of the box's value from the program raises its click handler like a user's click.
void Form1::UntickConnected() {
    if (view_.ConnectedValue() == CheckState::Unticked) return;
    view_.SetConnectedValue(CheckState::Unticked);
    chkConnected_Click();
}

void Form1::chkConnected_Click() {
    view_.SetWriteEnabled(view_.ConnectedValue() == CheckState::Ticked);
}

void Form1::cmdToggle_Click() {
    OptionsShown = !OptionsShown;
    if (OptionsShown) {
        view_.SetToggle("<<", "Hide Options");
        view_.SetOuterHeight(kHeightOptionsShown);
    } else {
        view_.SetToggle(">>", "Show Options");
        view_.SetOuterHeight(kHeightOptionsHidden);
    }
    // Below the visible area the boxes would still take the focus from Tab, and Space would
    // tick a box the user cannot see.
    view_.SetOptionsTabStops(OptionsShown);
}

void Form1::cmdWrite_Click() {
    // A click that reaches the window while a run waits in one of its message boxes would
    // start a second run inside the first.
    if (busy_) return;
    BusyScope busy(busy_, view_);
    Quietly([&] { WriteLog(app_, " *Set clicked*"); });
    // Before the first change: a copy of everything the run may change, or the user's word that
    // it may go on without one.
    Backup backup{false, ""};
    Quietly([&] { backup = BackUpSettings(app_, ProgramFolder); });
    if (!backup.goOn) return;
    PassOutcome outcome = PassOutcome::EndedEarly;
    Quietly([&] { outcome = ConfigureNetwork(app_, false); });
    // The log shows the state the PC is in, whether or not the run got through.
    Quietly([&] { WriteLog(app_, " *Reading...*"); });
    Quietly([&] { ConfigureNetwork(app_, true); });
    Quietly([&] { LogIpConfig(app_); });
    const bool switched = outcome == PassOutcome::Done ||
                          outcome == PassOutcome::DoneRestartNeeded ||
                          outcome == PassOutcome::NoAddressYet;
    if (!switched) {
        // A restart would only bring up a half-changed PC: none is offered.
        Quietly([&] { WriteLog(app_, "Setup incomplete"); });
        Quietly([&] {
            std::string text = kSetupIncomplete + LogSentence(app_, ProgramFolder);
            if (!backup.path.empty()) text += GoBackSentence(backup.path);
            app_.ui->MessageBox(text, kMbOk | kMbIconExclamation);
        });
        return;
    }
    // Switched all the same: a restart is what brings the address once the cable is right.
    if (outcome == PassOutcome::NoAddressYet)
        Quietly([&] { app_.ui->MessageBox(kNoAddressYet, kMbOk | kMbIconAsterisk); });
    Quietly([&] { WriteLog(app_, "Attempt to reboot"); });
    Quietly([&] { PromptReboot(app_, ElsewhereNote(app_, ProgramFolder, backup.path)); });
}

CloseAnswer Form1::Form_QueryUnload() {
    if (busy_ && !app_.Restarting) {
        const int answer =
            app_.ui->MessageBox("The program is busy - do you still wish to close it?", kMbYesNo);
        return answer == kIdYes ? CloseAnswer::EndAtOnce : CloseAnswer::Cancel;
    }
    WriteLog(app_, "<-");
    return CloseAnswer::Close;
}

bool Form1::chkGates() const {
    return view_.GatesTicked();
}

bool Form1::chkIEAuto() const {
    return view_.IEAutoTicked();
}

void Form1::AddItem(const std::string& text) {
    view_.AddAdapterRow(text);
}

void Form1::SetListIndex(int row) {
    view_.SelectAdapterRow(row);
    cboNIC_Click();
}

} // namespace ww
