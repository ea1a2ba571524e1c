#pragma once
// Records the probe's platform calls; answers as configured.
#include "probe/probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace gk::test {

class FakeProbeApi final : public ProbeApi {
  public:
    // Answers
    int startResult = 0;
    int cleanupResult = 0;
    IcmpHandle handle = 0x4711;
    bool writesReply = true;
    int32_t replyStatus = 0;
    int32_t replyRtt = 1;
    // The real inet_addr's verdicts that matter here: dotted quads pass, anything else fails.
    uint32_t (*convert)(const std::string&) = [](const std::string& text) -> uint32_t {
        return text.rfind("127.", 0) == 0 || text.rfind("192.", 0) == 0 ? 0x0100007F : kInaddrNone;
    };

    // Record
    std::vector<std::string> calls;
    std::vector<std::string> messages;
    std::vector<uint32_t> styles;
    uint16_t version = 0;
    std::string payload;
    uint32_t replySize = 0;
    uint32_t timeout = 0;
    bool replyWasZeroed = false;

    int WSAStartup(uint16_t v) override {
        calls.push_back("WSAStartup");
        version = v;
        return startResult;
    }
    int WSACleanup() override {
        calls.push_back("WSACleanup");
        return cleanupResult;
    }
    uint32_t inet_addr(const std::string& text) override {
        calls.push_back("inet_addr " + text);
        return convert(text);
    }
    IcmpHandle IcmpCreateFile() override {
        calls.push_back("IcmpCreateFile");
        return handle;
    }
    uint32_t IcmpSendEcho(IcmpHandle h, uint32_t, const std::string& data, uint8_t* reply,
                          uint32_t size, uint32_t timeoutMs) override {
        calls.push_back("IcmpSendEcho");
        EXPECT_EQ(h, handle);
        payload = data;
        replySize = size;
        timeout = timeoutMs;
        replyWasZeroed = std::all_of(reply, reply + size, [](uint8_t b) { return b == 0; });
        if (writesReply) {
            std::memcpy(reply + 4, &replyStatus, 4);
            std::memcpy(reply + 8, &replyRtt, 4);
        }
        return replyStatus == 0 ? 1 : 0;
    }
    bool IcmpCloseHandle(IcmpHandle h) override {
        calls.push_back("IcmpCloseHandle");
        EXPECT_EQ(h, handle);
        return true;
    }
    int ShowMessage(const std::string& text, uint32_t style) override {
        calls.push_back("MessageBox");
        messages.push_back(text);
        styles.push_back(style);
        return 1;
    }
};

} // namespace gk::test
