#include "platform/log.h"

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

TEST(WriteLog, AppendsEachLineWithCrLfAndKeepsEarlierRuns) {
    TestApp t;
    t.files.files[t.app.LogPath] = "->\r\n<-\r\n";
    for (const char* line : {"->", "", "two\r\nlines", "<-"})
        WriteLog(t.app, line);
    EXPECT_EQ(t.files.files[t.app.LogPath], "->\r\n<-\r\n->\r\n\r\ntwo\r\nlines\r\n<-\r\n");
}

TEST(WriteLog, WritesTheAnsiCodePageWithItsDefaultCharacter) {
    TestApp t;
    WriteLog(t.app, "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD");
    EXPECT_EQ(t.files.files[t.app.LogPath], "caf\xE9 \x80 ?\r\n");
}

TEST(WriteLog, FirstFailureSwitchesLoggingOffForTheRun) {
    struct Case {
        const char* name;
        std::string path;
        bool locked;
    };
    for (const Case& c :
         {Case{"locked file", "C:\\Tools\\Setup.log", true}, Case{"empty path", "", false}}) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.files.commonDataFolder.clear(); // and no data folder to move to
        t.app.LogPath = c.path;
        if (c.locked) t.files.locked.insert(c.path);
        WriteLog(t.app, "->");
        t.files.locked.clear();
        t.app.LogPath = "C:\\Tools\\Setup.log";
        WriteLog(t.app, "later");
        EXPECT_TRUE(t.app.logFailed);
        EXPECT_TRUE(t.files.files.empty());
        EXPECT_LE(t.files.appendCalls, 1);
    }
}

} // namespace
} // namespace ww::test
