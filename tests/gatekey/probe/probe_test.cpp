#include "fakes/gatekey/fake_probe_api.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gk::test {
namespace {

using Calls = std::vector<std::string>;

TEST(ProbeHost, AnEchoAnsweredGivesTrueAndTheRoundTrip) {
    FakeProbeApi api;
    api.replyRtt = 499;
    int32_t rtt = 0;
    EXPECT_TRUE(ProbeHost(api, "127.0.0.1", rtt));
    EXPECT_EQ(rtt, 499);
    EXPECT_EQ(api.calls, (Calls{"WSAStartup", "inet_addr 127.0.0.1", "IcmpCreateFile",
                                "IcmpSendEcho", "IcmpCloseHandle", "WSACleanup"}));
    EXPECT_EQ(api.version, 0x0101);
    EXPECT_EQ(api.payload, "Test");
    EXPECT_EQ(api.replySize, 278u);
    EXPECT_EQ(api.timeout, 500u);
    EXPECT_TRUE(api.replyWasZeroed);
    EXPECT_TRUE(api.messages.empty());
}

TEST(ProbeHost, TimeOutOrErrorStatusFailsButStillReportsTheRoundTrip) {
    for (const int32_t status : {11010, 11050, 11003}) {
        FakeProbeApi api;
        api.replyStatus = status;
        api.replyRtt = 500;
        int32_t rtt = 7;
        EXPECT_FALSE(ProbeHost(api, "127.0.0.1", rtt)) << status;
        EXPECT_EQ(rtt, 500) << status;
        EXPECT_EQ(api.calls.back(), "WSACleanup");
    }
}

TEST(ProbeHost, AnUnusableAddressOpensNoIcmpHandle) {
    for (const char* address : {"", "not-an-ip", "255.255.255.255", "  127.0.0.1"}) {
        FakeProbeApi api;
        int32_t rtt = 5;
        EXPECT_FALSE(ProbeHost(api, address, rtt)) << address;
        EXPECT_EQ(rtt, 0) << address; // the zeroed reply's field
        EXPECT_EQ(api.calls,
                  (Calls{"WSAStartup", std::string("inet_addr ") + address, "WSACleanup"}));
    }
}

TEST(ProbeHost, AnEmptyAddressFailsAlsoWhereTheConversionPassesIt) {
    for (const std::string& address : {std::string(), std::string("\0"
                                                                  "127.0.0.1",
                                                                  10)}) {
        FakeProbeApi api;
        api.convert = [](const std::string&) -> uint32_t { return 0; }; // 0.0.0.0
        int32_t rtt = 5;
        EXPECT_FALSE(ProbeHost(api, address, rtt));
        EXPECT_EQ(std::count(api.calls.begin(), api.calls.end(), "IcmpCreateFile"), 0);
        EXPECT_EQ(api.calls.back(), "WSACleanup");
    }
}

TEST(ProbeHost, TheAddressGoesToTheConversionUnchanged) {
    FakeProbeApi api;
    int32_t rtt = 0;
    EXPECT_TRUE(ProbeHost(api, "127.0.0.1\r\n", rtt));
    EXPECT_EQ(api.calls[1], "inet_addr 127.0.0.1\r\n");
}

TEST(ProbeHost, NoIcmpHandleFailsWithoutAnEcho) {
    FakeProbeApi api;
    api.handle = 0;
    int32_t rtt = 3;
    EXPECT_FALSE(ProbeHost(api, "127.0.0.1", rtt));
    EXPECT_EQ(api.calls,
              (Calls{"WSAStartup", "inet_addr 127.0.0.1", "IcmpCreateFile", "WSACleanup"}));
}

TEST(ProbeHost, WinsockThatCannotStartShowsTheBoxAndLeavesRtt) {
    FakeProbeApi api;
    api.startResult = 10091;
    int32_t rtt = 42;
    EXPECT_FALSE(ProbeHost(api, "127.0.0.1", rtt));
    EXPECT_EQ(rtt, 42);
    EXPECT_EQ(api.calls, (Calls{"WSAStartup", "MessageBox"}));
    EXPECT_EQ(api.messages, (Calls{"Windows Sockets for 32 bit Windows environments is not "
                                   "successfully responding."}));
    EXPECT_EQ(api.styles, (std::vector<uint32_t>{0x0}));
}

TEST(ProbeHost, AFailedCleanupWarnsAndKeepsTheResult) {
    FakeProbeApi api;
    api.cleanupResult = 10093;
    int32_t rtt = 0;
    EXPECT_TRUE(ProbeHost(api, "127.0.0.1", rtt));
    EXPECT_EQ(api.calls.back(), "MessageBox");
    EXPECT_EQ(api.messages, (Calls{"Windows Sockets error occurred in Cleanup."}));
    EXPECT_EQ(api.styles, (std::vector<uint32_t>{0x30}));
}

TEST(SendEcho, ReturnsTheStatusWrittenIntoTheReply) {
    FakeProbeApi api;
    api.replyStatus = 11010;
    EchoReplyBuffer reply{};
    EXPECT_EQ(SendEcho(api, "127.0.0.1", "Test", reply), 11010);
    EXPECT_EQ(ReplyStatus(reply), 11010);
}

TEST(SendEcho, ACallThatWritesNoReplyIsNoAnswer) {
    FakeProbeApi api;
    api.writesReply = false;
    api.replyStatus = 11001; // makes the fake report no replies
    EchoReplyBuffer reply{};
    EXPECT_EQ(SendEcho(api, "127.0.0.1", "Test", reply), -1);
    int32_t rtt = 0;
    EXPECT_FALSE(ProbeHost(api, "127.0.0.1", rtt));
}

TEST(EchoReply, FieldsAreLittleEndianAtTheirOffsets) {
    EchoReplyBuffer reply{};
    reply[4] = 0xFF;
    reply[5] = 0xFF;
    reply[6] = 0xFF;
    reply[7] = 0xFF;
    reply[8] = 0xF4;
    reply[9] = 0x01;
    EXPECT_EQ(ReplyStatus(reply), -1);
    EXPECT_EQ(ReplyRoundTrip(reply), 500);
}

} // namespace
} // namespace gk::test
