#pragma once
// The platform calls one reachability probe makes: WinSock start and stop, address conversion,
// the ICMP echo and a message box. Strings are UTF-8; the Win32 side converts to ANSI.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/message_box.h"

namespace gk {

// MessageBoxA styles by their Win32 numbers.
using corvane::kMbIconExclamation;
using corvane::kMbOk;

inline constexpr uint32_t kInaddrNone = 0xFFFFFFFF;

// An ICMP handle as the seam hands it out; 0 means there is none.
using IcmpHandle = uintptr_t;

class ProbeApi {
  public:
    virtual int WSAStartup(uint16_t version) = 0;
    virtual int WSACleanup() = 0;
    // Network-order address, kInaddrNone when the text is not one.
    virtual uint32_t inet_addr(const std::string& text) = 0;
    virtual IcmpHandle IcmpCreateFile() = 0;
    // Returns the number of replies; the reply record lands in reply.
    virtual uint32_t IcmpSendEcho(IcmpHandle handle, uint32_t address, const std::string& payload,
                                  uint8_t* reply, uint32_t replySize, uint32_t timeoutMs) = 0;
    virtual bool IcmpCloseHandle(IcmpHandle handle) = 0;
    // Modal box under the program's title ("Corvane Gatekey").
    virtual int ShowMessage(const std::string& text, uint32_t style) = 0;

  protected:
    ~ProbeApi() = default;
};

} // namespace gk
