#include "window/program_file.h"

#include <gtest/gtest.h>

namespace ww::test {
namespace {

TEST(ProgramFile, FolderAndNameOfThePath) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    for (const Case& c : {
             Case{"C:\\Tools\\wirewise.exe", "C:\\Tools\\", "wirewise"},
             Case{"D:\\wirewise.exe", "D:\\", "wirewise"},
             Case{"C:\\Program Files\\Corvane 1.0\\wirewise_98.exe",
                  "C:\\Program Files\\Corvane 1.0\\", "wirewise_98"},
             Case{"\\\\server\\share\\wirewise.exe", "\\\\server\\share\\", "wirewise"},
             Case{"C:\\Tools\\wirewise", "C:\\Tools\\", "wirewise"},
         }) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ProgramFolderOf(c.path), c.folder);
        EXPECT_EQ(ProgramNameOf(c.path), c.name);
    }
}

TEST(ProgramFile, VersionLineShowsMajorMinorRevision) {
    EXPECT_EQ(VersionLine("C:\\Tools\\wirewise.exe", {1, 0, 10}), "wirewise 1.0.10");
    EXPECT_EQ(VersionLine("D:\\setup.exe", {12, 34, 5678}), "setup 12.34.5678");
}

TEST(ProgramFile, DateLineUsesTwoDigitsAndTheUsersSeparators) {
    struct Case {
        LocalTime t;
        const char *date, *time, *line;
    };
    for (const Case& c : {
             Case{{2026, 12, 7, 9, 5, 3, 1}, "/", ":", "07/12/2026 09:05:03"},
             Case{{2026, 1, 31, 23, 59, 59, 6}, ".", ".", "31.01.2026 23.59.59"},
             Case{{1999, 3, 4, 0, 0, 0, 4}, "-", ":", "04-03-1999 00:00:00"},
         }) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(DateLine(c.t, c.date, c.time), c.line);
    }
}

} // namespace
} // namespace ww::test
