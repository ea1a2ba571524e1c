#include "win32/win32_probe.h"

#include "common/win32/codepage.h"
#include "common/win32/system_library.h"
#include "window/layout.h"

#include <winsock2.h>

namespace gk::win32 {

Win32Probe::Win32Probe() : icmp_(corvane::LoadSystemLibrary("icmp.dll")) {
    create_ = corvane::ProcAddress<CreateFn>(icmp_.get(), "IcmpCreateFile");
    sendEcho_ = corvane::ProcAddress<SendEchoFn>(icmp_.get(), "IcmpSendEcho");
    close_ = corvane::ProcAddress<CloseFn>(icmp_.get(), "IcmpCloseHandle");
}

int Win32Probe::WSAStartup(uint16_t version) {
    WSADATA data{};
    return ::WSAStartup(version, &data);
}

int Win32Probe::WSACleanup() {
    return ::WSACleanup();
}

uint32_t Win32Probe::inet_addr(const std::string& text) {
    return static_cast<uint32_t>(::inet_addr(corvane::ToAnsi(text).c_str()));
}

IcmpHandle Win32Probe::IcmpCreateFile() {
    if (!create_ || !sendEcho_ || !close_) return 0;
    const HANDLE h = create_();
    // The call reports failure as INVALID_HANDLE_VALUE; a null handle is no handle either.
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return 0;
    return reinterpret_cast<IcmpHandle>(h);
}

uint32_t Win32Probe::IcmpSendEcho(IcmpHandle handle, uint32_t address, const std::string& payload,
                                  uint8_t* reply, uint32_t replySize, uint32_t timeoutMs) {
    std::string data = corvane::ToAnsi(payload);
    return sendEcho_(reinterpret_cast<HANDLE>(handle), address, data.data(),
                     static_cast<WORD>(data.size()), nullptr, reply, replySize, timeoutMs);
}

bool Win32Probe::IcmpCloseHandle(IcmpHandle handle) {
    return close_(reinterpret_cast<HANDLE>(handle)) != 0;
}

int Win32Probe::ShowMessage(const std::string& text, uint32_t style) {
    return MessageBoxA(owner_, corvane::ToAnsi(text).c_str(),
                       corvane::ToAnsi(kMessageTitle).c_str(), style);
}

} // namespace gk::win32
