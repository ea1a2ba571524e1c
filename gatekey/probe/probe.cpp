#include "probe/probe.h"

#include <cstring>

namespace gk {
namespace {

// Offsets in the published ICMP_ECHO_REPLY record (32-bit layout).
constexpr size_t kStatusOffset = 4;
constexpr size_t kRoundTripOffset = 8;

int32_t ReadInt32(const EchoReplyBuffer& reply, size_t offset) {
    uint32_t raw = 0;
    for (size_t i = 0; i < 4; ++i)
        raw |= static_cast<uint32_t>(reply[offset + i]) << (8 * i);
    int32_t value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

// Closes the ICMP handle on every way out of SendEcho.
class IcmpFile {
  public:
    explicit IcmpFile(ProbeApi& api) : api_(api), handle_(api.IcmpCreateFile()) {}
    IcmpFile(const IcmpFile&) = delete;
    IcmpFile& operator=(const IcmpFile&) = delete;
    ~IcmpFile() {
        if (handle_ != 0) api_.IcmpCloseHandle(handle_);
    }
    IcmpHandle get() const { return handle_; }

  private:
    ProbeApi& api_;
    IcmpHandle handle_;
};

// WinSock is up for exactly one probe; stopping it may show the clean-up message.
class SocketsSession {
  public:
    explicit SocketsSession(ProbeApi& api) : api_(api) {}
    SocketsSession(const SocketsSession&) = delete;
    SocketsSession& operator=(const SocketsSession&) = delete;
    ~SocketsSession() { StopSockets(api_); }

  private:
    ProbeApi& api_;
};

} // namespace

int32_t ReplyStatus(const EchoReplyBuffer& reply) {
    return ReadInt32(reply, kStatusOffset);
}
int32_t ReplyRoundTrip(const EchoReplyBuffer& reply) {
    return ReadInt32(reply, kRoundTripOffset);
}

bool StartSockets(ProbeApi& api) {
    return api.WSAStartup(kWinsockVersion) == 0;
}

void StopSockets(ProbeApi& api) {
    if (api.WSACleanup() != 0) api.ShowMessage(kSocketsCleanupFailed, kMbOk | kMbIconExclamation);
}

int32_t SendEcho(ProbeApi& api, const std::string& address, const std::string& payload,
                 EchoReplyBuffer& reply) {
    const uint32_t ip = api.inet_addr(address);
    // Older systems convert an empty text to 0.0.0.0 instead of rejecting it. The system sees the
    // text up to its first NUL, so one that starts with a NUL is empty as well.
    const bool empty = address.empty() || address.front() == '\0';
    if (ip == kInaddrNone || empty) return kStatusUnusable;
    IcmpFile icmp(api);
    if (icmp.get() == 0) return kStatusUnusable;
    // The call writes its status into the record, also when no answer arrives in time. A call
    // that fails before it gets that far leaves the zeroed record reading as success; no reply
    // and a success status is no answer.
    const uint32_t replies =
        api.IcmpSendEcho(icmp.get(), ip, payload, reply.data(), kEchoReplySize, kEchoTimeoutMs);
    const int32_t status = ReplyStatus(reply);
    return status == 0 && replies == 0 ? kStatusUnusable : status;
}

bool ProbeHost(ProbeApi& api, const std::string& address, int32_t& rtt) {
    if (!StartSockets(api)) {
        api.ShowMessage(kSocketsStartFailed, kMbOk);
        return false;
    }
    SocketsSession sockets(api);
    EchoReplyBuffer reply{};
    const int32_t status = SendEcho(api, address, kEchoPayload, reply);
    rtt = ReplyRoundTrip(reply);
    return status == 0;
}

} // namespace gk
