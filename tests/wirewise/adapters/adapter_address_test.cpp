#include "adapters/adapter_address.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

TEST(AdapterAddress, OnlyAnAddressTheRouterCanHaveGivenCounts) {
    const struct {
        const char* text;
        bool router;
    } cases[] = {
        {"192.168.1.10", true},     {"10.0.0.1", true},
        {"169.253.255.255", true},  {"169.255.0.1", true},
        {"1.0.0.0", true},          {"0.0.0.1", true},
        {"0.0.0.0", false},         {"169.254.0.1", false},
        {"169.254.255.255", false}, {"", false},
        {"192.168.1", false},       {"192.168.1.256", false},
        {"192.168.1.1.", false},    {"192.168.1.1 ", false},
        {"1..2.3", false},          {"0001.2.3.4", false},
        {"a.b.c.d", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRouterAddress(c.text), c.router) << "\"" << c.text << "\"";
}

TEST(AdapterAddress, TheAdapterIsFoundByItsInterfaceIndex) {
    FakeAdapter other;
    other.index = 7;
    other.ips = {{"192.168.1.20", "255.255.255.0"}};
    FakeAdapter chosen;
    chosen.index = 4;
    chosen.ips = {{"0.0.0.0", "0.0.0.0"}, {"169.254.3.4", "255.255.0.0"}};
    const struct {
        const char* what;
        std::vector<FakeAdapter> adapters;
        int32_t index;
        bool found;
    } cases[] = {
        {"another adapter's address is not the chosen one's", {other, chosen}, 4, false},
        {"the other one has it", {other, chosen}, 7, true},
        {"no such index", {other}, 9, false},
        {"the second of its addresses",
         {[&] {
             FakeAdapter a = chosen;
             a.ips.push_back({"192.168.1.33", "255.255.255.0"});
             return a;
         }()},
         4,
         true},
        {"no adapters at all", {}, 4, false},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.app.OsCode = OsFamily::WinXp;
        t.iphlp.adapters = c.adapters;
        EXPECT_EQ(AdapterHasRouterAddress(t.app, c.index), c.found) << c.what;
    }
}

TEST(AdapterAddress, RecordsThatLeaveTheBufferGiveNoAddress) {
    TestApp t;
    t.app.OsCode = OsFamily::WinXp;
    FakeAdapter a;
    a.ips = {{"0.0.0.0", ""}, {"192.168.1.10", ""}};
    t.iphlp.adapters = {a};
    // The address chain's second record is pointed outside the buffer.
    t.iphlp.tamperAdapters = [](uint8_t* buffer, uint32_t) {
        const uintptr_t outside = 0x10;
        std::memcpy(buffer + FakeIpHelper::AdapterIpListOffset(), &outside, sizeof outside);
    };
    EXPECT_FALSE(AdapterHasRouterAddress(t.app, a.index));
}

} // namespace
} // namespace ww::test
