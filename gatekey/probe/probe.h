#pragma once
// Does an IPv4 address answer one ICMP echo, and how fast? Each probe starts and stops WinSock.
#include "probe/probe_api.h"

#include <array>
#include <cstdint>
#include <string>

namespace gk {

inline constexpr uint32_t kEchoTimeoutMs = 500;
inline constexpr uint32_t kEchoReplySize = 278;
inline constexpr uint16_t kWinsockVersion = 0x0101;
inline constexpr int32_t kStatusUnusable = -1;
inline constexpr const char* kEchoPayload = "Test";

inline constexpr const char* kSocketsStartFailed =
    "Windows Sockets for 32 bit Windows environments is not successfully responding.";
inline constexpr const char* kSocketsCleanupFailed = "Windows Sockets error occurred in Cleanup.";

// The reply area of one echo: the 28-byte reply record head, then room for the echoed data.
using EchoReplyBuffer = std::array<uint8_t, kEchoReplySize>;

int32_t ReplyStatus(const EchoReplyBuffer& reply);
int32_t ReplyRoundTrip(const EchoReplyBuffer& reply);

bool StartSockets(ProbeApi& api);
void StopSockets(ProbeApi& api);
int32_t SendEcho(ProbeApi& api, const std::string& address, const std::string& payload,
                 EchoReplyBuffer& reply);
// True when the echo succeeded; rtt receives the round-trip time whenever WinSock started.
bool ProbeHost(ProbeApi& api, const std::string& address, int32_t& rtt);

} // namespace gk
