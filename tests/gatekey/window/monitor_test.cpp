#include "fakes/gatekey/fake_lamp.h"
#include "fakes/gatekey/fake_probe_api.h"
#include "window/monitor.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Writes = std::vector<std::string>;

struct LampCase {
    bool ok;
    int32_t rtt;
    Writes writes;
    OleColor fill;
    std::string caption;
};

TEST(ShowProbeResult, FollowsTheLampStateTable) {
    const std::string start = "Not connected to Router";
    const LampCase cases[] = {
        {true,
         0,
         {"FillColor 65280", "Caption Connected to Router"},
         0x00FF00,
         "Connected to Router"},
        {true,
         499,
         {"FillColor 65280", "Caption Connected to Router"},
         0x00FF00,
         "Connected to Router"},
        {true, 500, {"FillColor 65535"}, 0x00FFFF, start},
        {true, 2000, {"FillColor 65535"}, 0x00FFFF, start},
        {false, 0, {"FillColor 255", "Caption Not connected to Router"}, 0x0000FF, start},
        {false, 499, {"FillColor 255", "Caption Not connected to Router"}, 0x0000FF, start},
    };
    for (const LampCase& c : cases) {
        FakeLamp lamp(start);
        ShowProbeResult(lamp, kRouterCaptions, c.ok, c.rtt);
        EXPECT_EQ(lamp.writes, c.writes) << c.ok << " " << c.rtt;
        EXPECT_EQ(lamp.FillColor(), c.fill) << c.ok << " " << c.rtt;
        EXPECT_EQ(lamp.Caption(), c.caption) << c.ok << " " << c.rtt;
    }
}

TEST(ShowProbeResult, ASlowAnswerKeepsAGreenCaption) {
    FakeLamp lamp("Connected to Internet", 0x00FF00);
    ShowProbeResult(lamp, kInternetCaptions, true, 500);
    EXPECT_EQ(lamp.FillColor(), 0x00FFFFu);
    EXPECT_EQ(lamp.Caption(), "Connected to Internet");
}

TEST(CheckInternet, ProbesTheSettingsAddressIntoTheNetLamp) {
    FakeProbeApi api;
    FakeLamp net("Not connected to Internet");
    CheckInternet(api, net, "127.0.0.1");
    EXPECT_EQ(api.calls[1], "inet_addr 127.0.0.1");
    EXPECT_EQ(net.writes, (Writes{"FillColor 65280", "Caption Connected to Internet"}));

    FakeLamp empty;
    CheckInternet(api, empty, "");
    EXPECT_EQ(empty.writes, (Writes{"FillColor 255", "Caption Not connected to Internet"}));
}

TEST(CheckRouter, ARouterThatStopsAnsweringTurnsRed) {
    FakeProbeApi api;
    FakeLamp router("Not connected to Router");
    CheckRouter(api, router, "192.168.0.1");
    EXPECT_EQ(router.Caption(), "Connected to Router");
    api.replyStatus = 11010;
    CheckRouter(api, router, "192.168.0.1");
    EXPECT_EQ(router.FillColor(), 0x0000FFu);
    EXPECT_EQ(router.Caption(), "Not connected to Router");
}

TEST(CheckRouter, WinsockThatCannotStartTurnsTheLampRed) {
    FakeProbeApi api;
    api.startResult = 1;
    FakeLamp router("Connected to Router", 0x00FF00);
    CheckRouter(api, router, "127.0.0.1");
    EXPECT_EQ(router.writes, (Writes{"FillColor 255", "Caption Not connected to Router"}));
    EXPECT_EQ(api.messages.size(), 1u);
}

TEST(CheckRouter, AHostNameIsNotResolved) {
    FakeProbeApi api;
    FakeLamp router;
    CheckRouter(api, router, "router.local");
    EXPECT_EQ(router.Caption(), "Not connected to Router");
    EXPECT_EQ(std::count(api.calls.begin(), api.calls.end(), "IcmpCreateFile"), 0);
}

} // namespace
} // namespace gk::test
