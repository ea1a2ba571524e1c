#pragma once
// An App wired to fresh fakes, logging to C:\Tools\Setup.log.
#include <sstream>
#include <string>
#include <vector>

#include "app.h"
#include "fakes/wirewise/fake_clock.h"
#include "fakes/wirewise/fake_files.h"
#include "fakes/wirewise/fake_iphelper.h"
#include "fakes/wirewise/fake_registry.h"
#include "fakes/wirewise/fake_system.h"
#include "fakes/wirewise/fake_ui.h"
#include "fakes/wirewise/fake_wmi.h"

namespace ww {

// Test messages show the family's number.
inline std::ostream& operator<<(std::ostream& out, OsFamily os) {
    return out << static_cast<int>(os);
}

namespace test {

struct FakeOptions final : Options {
    bool gates = false, ieAuto = false;
    bool chkGates() const override { return gates; }
    bool chkIEAuto() const override { return ieAuto; }
};

struct TestApp {
    FakeFiles files;
    FakeUi ui;
    FakeClock clock;
    FakeIpHelper iphlp;
    FakeOptions options;
    FakeWmi wmi;
    FakeRegistry reg;
    FakeSystem sys;
    App app;

    TestApp() {
        app.files = &files;
        app.ui = &ui;
        app.clock = &clock;
        app.iphlp = &iphlp;
        app.options = &options;
        app.wmi = &wmi;
        app.reg = &reg;
        app.sys = &sys;
        app.LogPath = "C:\\Tools\\Setup.log";
    }

    // The log's lines, CR LF removed; a missing CR LF at the end shows as a last line.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        auto it = files.files.find(app.LogPath);
        if (it == files.files.end()) return lines;
        const std::string& s = it->second;
        size_t start = 0;
        while (start < s.size()) {
            const size_t end = s.find("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(s.substr(start) + "<no CR LF>");
                break;
            }
            lines.push_back(s.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

} // namespace test
} // namespace ww
