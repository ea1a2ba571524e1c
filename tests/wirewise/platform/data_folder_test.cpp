#include "platform/data_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/wirewise/test_app.h"
#include "platform/log.h"

namespace ww::test {
namespace {

const std::string kData = "C:\\ProgramData\\Corvane\\Wirewise\\";
const std::string kCorvane = "C:\\ProgramData\\Corvane";
const std::string kWirewise = "C:\\ProgramData\\Corvane\\Wirewise";

// The folder of each kind of system and of what it finds on the way; a refused one is "" and
// the user's temporary folder is never the answer on the NT family.
TEST(DataFolder, ClosedFolderOnNtTempOn9xAndNothingThroughAReparsePoint) {
    struct Case {
        const char* name;
        uint32_t platform;                // the version call's platform: 1 Windows 9x, 2 NT
        std::optional<uint32_t> real;     // RtlGetVersion's platform, where ntdll has it
        std::vector<std::string> folders; // there before the run, without "\"
        std::vector<std::string> reparse;
        std::string common;
        bool createFails;
        std::string expected;
        std::vector<std::string> made; // made closed by the run
    };
    const std::string temp = "C:\\Users\\alice\\Temp\\";
    const std::vector<Case> cases = {
        {"NT, nothing there yet",
         2,
         {},
         {},
         {},
         "C:\\ProgramData\\",
         false,
         kData,
         {kCorvane, kWirewise}},
        {"NT, both there", 2, {}, {kCorvane, kWirewise}, {}, "C:\\ProgramData\\", false, kData, {}},
        {"NT, the vendor's folder there",
         2,
         {},
         {kCorvane},
         {},
         "C:\\ProgramData\\",
         false,
         kData,
         {kWirewise}},
        {"compatibility mode names 9x",
         1,
         2u,
         {},
         {},
         "C:\\ProgramData\\",
         false,
         kData,
         {kCorvane, kWirewise}},
        {"NT, the vendor's folder a junction",
         2,
         {},
         {kCorvane},
         {kCorvane},
         "C:\\ProgramData\\",
         false,
         "",
         {}},
        {"NT, the program's folder a junction",
         2,
         {},
         {kCorvane, kWirewise},
         {kWirewise},
         "C:\\ProgramData\\",
         false,
         "",
         {}},
        {"NT, a dangling link", 2, {}, {kCorvane}, {kWirewise}, "C:\\ProgramData\\", false, "", {}},
        {"NT, the common folder a link",
         2,
         {},
         {},
         {"C:\\ProgramData"},
         "C:\\ProgramData\\",
         false,
         "",
         {}},
        {"NT, the folder cannot be made", 2, {}, {}, {}, "C:\\ProgramData\\", true, "", {}},
        {"NT, no common folder", 2, {}, {}, {}, "", false, "", {}},
        {"NT, a common folder without its backslash",
         2,
         {},
         {},
         {},
         "C:\\ProgramData",
         false,
         "",
         {}},
        {"Windows 9x", 1, {}, {}, {}, "", false, temp, {}},
        {"Windows 9x, no temp folder either", 1, {}, {}, {}, "", false, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.sys.version.dwPlatformId = c.platform;
        if (c.real) t.sys.realVersion = OsVersionInfo{148, 10, 0, 19045, *c.real};
        for (const std::string& f : c.folders)
            t.files.folders.insert(f + "\\");
        for (const std::string& r : c.reparse)
            t.files.reparsePoints.insert(r);
        t.files.commonDataFolder = c.common;
        t.files.createFails = c.createFails;
        // GetTempPath fails where a Windows 9x case expects no folder.
        if (c.platform == 1 && c.expected.empty()) t.files.tempFolder.clear();
        EXPECT_EQ(DataFolder(t.app), c.expected);
        EXPECT_EQ(
            std::vector<std::string>(t.files.closedFolders.begin(), t.files.closedFolders.end()),
            c.made);
    }
}

// A folder made by someone else between the look and the make is judged as found.
TEST(DataFolder, AFolderMadeMeanwhileIsJudgedAsFound) {
    TestApp t;
    t.files.folders.insert(kCorvane + "\\");
    t.files.reparsePoints.insert(kWirewise); // there, as a link, by the time it is looked at
    t.files.createFails = true;
    EXPECT_EQ(DataFolder(t.app), "");
}

// A folder there before the run is used only when nobody but the machine's administrators can
// write in it; one just made is read back alike, so that inherited grants in it are caught.
TEST(DataFolder, AFolderOpenToUsersIsRefusedFoundOrMade) {
    const std::string open =
        Descriptor(kAdministratorsSid,
                   {{0, 0x03, 0x1F01FF, kAdministratorsSid}, {0, 0x03, 0x1301BF, kUsersSid}});
    const std::string alices = Descriptor(kAliceSid, {{0, 0x03, 0x1F01FF, kSystemSid}});
    struct Case {
        const char* name;
        std::vector<std::string> found; // there before the run, without "\"
        std::map<std::string, std::string> rights;
        std::string made; // what making a folder leaves on it
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"both found closed", {kCorvane, kWirewise}, {}, ClosedDescriptor(), kData},
        {"found, users may write",
         {kCorvane, kWirewise},
         {{kWirewise, open}},
         ClosedDescriptor(),
         ""},
        {"the vendor's folder users may write",
         {kCorvane},
         {{kCorvane, open}},
         ClosedDescriptor(),
         ""},
        {"found, a user's own",
         {kCorvane, kWirewise},
         {{kWirewise, alices}},
         ClosedDescriptor(),
         ""},
        {"found, rights unreadable",
         {kCorvane, kWirewise},
         {{kWirewise, ""}},
         ClosedDescriptor(),
         ""},
        {"made, but with inherited grants", {kCorvane}, {}, open, ""},
        {"made, rights unreadable", {}, {}, "", ""},
        {"made closed", {}, {}, ClosedDescriptor(), kData},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        for (const std::string& f : c.found)
            t.files.folders.insert(f + "\\");
        t.files.security = c.rights;
        t.files.madeSecurity = c.made;
        EXPECT_EQ(DataFolder(t.app), c.expected);
        // Nothing found is changed, only judged.
        for (const auto& [path, rights] : c.rights)
            EXPECT_EQ(t.files.security[path], rights);
    }
}

// Where the program's folder takes no line, the log goes to the data folder, after what an
// earlier run left there; a log that began beside the program never moves half way.
TEST(WriteLog, MovesToTheDataFolderOnlyWhenTheProgramsFolderTookNoLine) {
    struct Case {
        const char* name;
        bool lockedFromStart;
        bool reparseLog;   // Setup.log in the data folder is a link
        bool platform9x;   // the temporary folder then
        std::string where; // where the lines are, "" for nowhere
        std::string text;
    };
    const std::string temp = "C:\\Users\\alice\\Temp\\Setup.log";
    const std::vector<Case> cases = {
        {"a CD", true, false, false, kData + "Setup.log", "earlier\r\n->\r\nnext\r\n"},
        {"a CD on Windows 9x", true, false, true, temp, "->\r\nnext\r\n"},
        {"a link named Setup.log", true, true, false, "", ""},
        {"locked half way", false, false, false, "C:\\Tools\\Setup.log", "->\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        if (c.platform9x) t.sys.version.dwPlatformId = 1;
        t.files.folders.insert(kCorvane + "\\");
        t.files.folders.insert(kWirewise + "\\");
        t.files.files[kData + "Setup.log"] = "earlier\r\n";
        if (c.reparseLog) {
            t.files.files.erase(kData + "Setup.log");
            t.files.reparsePoints.insert(kData + "Setup.log");
        }
        if (c.lockedFromStart) t.files.locked.insert("C:\\Tools\\Setup.log");
        WriteLog(t.app, "->");
        t.files.locked.insert("C:\\Tools\\Setup.log");
        WriteLog(t.app, "next");
        EXPECT_EQ(t.app.logFailed, c.where.empty() || c.where == "C:\\Tools\\Setup.log");
        if (!c.where.empty()) {
            EXPECT_EQ(t.app.LogPath, c.where);
            EXPECT_EQ(t.files.files[c.where], c.text);
        }
        if (c.reparseLog) {
            EXPECT_EQ(t.files.files.count(kData + "Setup.log"), 0u);
        }
        if (!c.platform9x) {
            EXPECT_EQ(t.files.files.count(temp), 0u);
        }
    }
}

} // namespace
} // namespace ww::test
