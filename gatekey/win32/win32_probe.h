#pragma once
// The probe's platform calls: ws2_32 linked (a known library from Windows 7 on, which wsock32
// is not), icmp.dll loaded from the system folder at start.
#include "common/win32/owners.h"
#include "probe/probe_api.h"

#include <windows.h>

namespace gk::win32 {

class Win32Probe final : public ProbeApi {
  public:
    Win32Probe();
    // Message boxes are owned by this window once it exists.
    void SetOwner(HWND owner) { owner_ = owner; }

    int WSAStartup(uint16_t version) override;
    int WSACleanup() override;
    uint32_t inet_addr(const std::string& text) override;
    IcmpHandle IcmpCreateFile() override;
    uint32_t IcmpSendEcho(IcmpHandle handle, uint32_t address, const std::string& payload,
                          uint8_t* reply, uint32_t replySize, uint32_t timeoutMs) override;
    bool IcmpCloseHandle(IcmpHandle handle) override;
    int ShowMessage(const std::string& text, uint32_t style) override;

  private:
    using CreateFn = HANDLE(WINAPI*)();
    using SendEchoFn = DWORD(WINAPI*)(HANDLE, ULONG, LPVOID, WORD, LPVOID, LPVOID, DWORD, DWORD);
    using CloseFn = BOOL(WINAPI*)(HANDLE);

    corvane::Module icmp_;
    CreateFn create_ = nullptr;
    SendEchoFn sendEcho_ = nullptr;
    CloseFn close_ = nullptr;
    HWND owner_ = nullptr;
};

} // namespace gk::win32
