#pragma once
// Program-wide state of wirewise and the seams it reaches the platform through.
// Set once at start-up (but SelectedAdapter, which follows the adapter box) and read by every
// module.
#include <cstdint>
#include <string>
#include <vector>

namespace ww {

class Registry;
class IpHelper;
class Wmi;
class System;
class Ui;
class Files;
class Clock;

// One network adapter. Entry 0 of App::Adapters is always empty and never shown.
struct AdapterEntry {
    std::string DisplayText;
    std::string AdapterKey;
    std::string DeviceKey;   // Windows 9x only
    std::string BindingName; // Windows 9x only
    int32_t IfIndex = 0;
};

// The two option boxes of the window, read by the settings passes.
class Options {
  public:
    virtual bool chkGates() const = 0;
    virtual bool chkIEAuto() const = 0;

  protected:
    ~Options() = default;
};

// The Windows family, as DetectOS classifies the running system once at start-up. The numbers are
// the family's codes of old and stay as they are.
enum class OsFamily : int16_t {
    Win32s = 0,  // or the version query failed
    Win9x = 1,   // Windows 95, 98 and Me
    Nt4 = 2,     // build 1381
    Win2000 = 3, // build 2195
    WinXp = 4,   // build 2600
    Other = 5,   // any other NT build or platform
};

// The settings pass's road and the start-up steps that go with it (the SID line and the
// shutdown privilege on the NT road). Decided by RoadOf alone.
enum class Road { None, Win9x, Nt };

struct App {
    // Seams; the program wires the Win32 ones, tests wire fakes.
    Registry* reg = nullptr;
    IpHelper* iphlp = nullptr;
    Wmi* wmi = nullptr;
    System* sys = nullptr;
    Ui* ui = nullptr;
    Files* files = nullptr;
    Clock* clock = nullptr;
    const Options* options = nullptr;

    // Log
    std::string LogPath;
    bool logFailed = false;
    bool logWritten = false; // a line has reached LogPath
    // Where the log and the restore file go when the program's folder cannot take them
    // (DataFolder), "" for nowhere; chosen once.
    std::string DataFolderPath;
    bool dataFolderChosen = false;

    OsFamily OsCode = OsFamily::Win32s;
    // The version query named the NT platform (any build, Nt4 to Other).
    bool NtPlatform = false;
    std::string UserName;
    std::string UserSid;
    // The SID of the desktop's owner where that is another account than UserSid's (NT road
    // only); its hive then holds the user's settings the run reads and writes. Empty otherwise.
    std::string DesktopSid;

    // From the moment the user's restart is requested until the request fails: the close it
    // brings (on Windows 9x while the request is still running) is no close of a busy program.
    bool Restarting = false;

    std::vector<AdapterEntry> Adapters{1};
    int16_t AdapterCount = 0;
    int16_t SelectedAdapter = 0;
};

// Windows 9x, and any platform that is neither 9x nor NT, take the Windows 9x road; every NT build
// takes the NT road, the builds that OsCode does not name included; Win32s (or an unknown
// version) has none.
inline Road RoadOf(const App& app) {
    switch (app.OsCode) {
    case OsFamily::Win9x:
        return Road::Win9x;
    case OsFamily::Nt4:
    case OsFamily::Win2000:
    case OsFamily::WinXp:
        return Road::Nt;
    case OsFamily::Other:
        return app.NtPlatform ? Road::Nt : Road::Win9x;
    default:
        return Road::None;
    }
}

} // namespace ww
