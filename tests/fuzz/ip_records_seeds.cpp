// Writes a few well-formed inputs for ip_records_fuzz into the folder given: records laid out by
// the in-memory IP Helper, their addresses moved to the fuzz harness's base.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/wirewise/fake_iphelper.h"

namespace {

constexpr uintptr_t kBase = 0x10000;

// Every pointer-sized word that points into the buffer is taken for an address and moved.
void Rebase(std::vector<uint8_t>& buf) {
    const auto start = reinterpret_cast<uintptr_t>(buf.data());
    for (size_t at = 0; at + sizeof(uintptr_t) <= buf.size(); at += sizeof(uintptr_t)) {
        uintptr_t word;
        std::memcpy(&word, buf.data() + at, sizeof word);
        if (word >= start && word < start + buf.size()) {
            word = word - start + kBase;
            std::memcpy(buf.data() + at, &word, sizeof word);
        }
    }
}

void Write(const std::string& folder, const std::string& name, uint8_t walk,
           std::vector<uint8_t> buf) {
    Rebase(buf);
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.put(static_cast<char>(walk));
    out.write(reinterpret_cast<const char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    ww::test::FakeIpHelper ip;
    ww::test::FakeAdapter a;
    a.ips = {{"192.168.1.10", "255.255.255.0"}, {"10.0.0.5", "255.0.0.0"}};
    a.gateways = {"192.168.1.1", "192.168.1.254"};
    ip.adapters = {a, ww::test::FakeAdapter{}};
    ip.params.dnsServers = {"192.168.1.1", "8.8.8.8"};

    uint32_t size = 0;
    ip.GetAdaptersInfo(0, nullptr, &size);
    std::vector<uint8_t> adapters(size);
    ip.GetAdaptersInfo(0, adapters.data(), &size);
    Write(argv[1], "adapters-list", 0, adapters);
    Write(argv[1], "adapters-report", 1, adapters);

    size = 0;
    ip.GetNetworkParams(0, nullptr, &size);
    std::vector<uint8_t> params(size);
    ip.GetNetworkParams(0, params.data(), &size);
    Write(argv[1], "network-params", 2, params);
    return 0;
}
