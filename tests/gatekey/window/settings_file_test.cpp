#include "fakes/gatekey/fake_files.h"
#include "window/settings_file.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

TEST(SettingsPathIn, JoinsWithOneBackslash) {
    EXPECT_EQ(SettingsPathIn("C:\\Tools"), "C:\\Tools\\Settings.ini");
    EXPECT_EQ(SettingsPathIn("C:\\"), "C:\\Settings.ini");
    EXPECT_EQ(SettingsPathIn("\\\\server\\share"), "\\\\server\\share\\Settings.ini");
}

TEST(ReadInternetHost, TakesTheWholeContentOrFallsBack) {
    const std::string path = "C:\\Tools\\Settings.ini";
    const std::string big(64 * 1024 + 1, '1');
    const std::string limit(64 * 1024, ' ');
    struct Case {
        const char* what;
        bool exists, hidden, unreadable;
        std::string content, host;
    } cases[] = {
        {"missing", false, false, false, "", "127.0.0.1"},
        {"hidden or system", true, true, false, "10.0.0.1", "127.0.0.1"},
        {"unreadable", true, false, true, "10.0.0.1", "127.0.0.1"},
        {"empty", true, false, false, "", ""},
        {"address", true, false, false, "8.8.8.8", "8.8.8.8"},
        {"line break kept", true, false, false, "8.8.8.8\r\n", "8.8.8.8\r\n"},
        {"blanks kept", true, false, false, " 8.8.8.8 ", " 8.8.8.8 "},
        {"not an address", true, false, false, "not-an-ip", "not-an-ip"},
        {"exactly 64 KiB", true, false, false, limit, limit},
        {"over 64 KiB", true, false, false, big, ""},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        if (c.exists) files.files[path] = c.content;
        if (c.hidden) files.hidden.insert(path);
        if (c.unreadable) files.unreadable.insert(path);
        EXPECT_EQ(ReadInternetHost(files, path), c.host) << c.what;
    }
}

} // namespace
} // namespace gk::test
