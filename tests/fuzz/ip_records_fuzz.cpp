// Drives the IP Helper record walks over arbitrary bytes: the first byte picks the walk, the rest
// is the buffer as a fetch would have filled it. Addresses inside the records are taken relative
// to kBase, so that the fuzzer can aim them at, into and past the buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "adapters/record_walks.h"
#include "fakes/wirewise/fake_clock.h"
#include "fakes/wirewise/fake_files.h"
#include "fakes/wirewise/fake_ui.h"

namespace {

constexpr uintptr_t kBase = 0x10000;

struct NullBox final : ww::AdapterBox {
    void AddItem(const std::string&) override {}
    void SetListIndex(int) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    ww::test::FakeFiles files;
    ww::test::FakeClock clock;
    ww::test::FakeUi ui;
    ww::App app;
    app.files = &files;
    app.clock = &clock;
    app.ui = &ui;
    app.LogPath = "C:\\Tools\\Setup.log";

    // Exactly the input's size, so that any read past it lands in the sanitizer's red zone.
    const std::vector<uint8_t> buffer(data + 1, data + size);
    const ww::IpRecordBuffer records(buffer.data(), buffer.size(), kBase);
    NullBox box;
    switch (data[0] % 3) {
    case 0:
        ww::AddAdapterEntries(app, box, records);
        break;
    case 1:
        ww::LogAdapterRecords(app, records);
        break;
    default:
        ww::LogNetworkParamsRecord(app, records);
        break;
    }
    return 0;
}
