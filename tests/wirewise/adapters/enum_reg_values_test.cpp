#include "adapters/enum_reg_values.h"

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"

namespace ww {
namespace {

using test::FakeRegistry;
using test::TestApp;

constexpr const char* kBindings = "Enum\\PCI\\VEN_10EC&DEV_8139\\BUS_00&DEV_0B\\Bindings";

TEST(EnumRegValues, FirstValueNameContainingTheTextIgnoringCase) {
    const struct {
        std::vector<std::string> names;
        std::string match;
        std::string expected;
    } cases[] = {
        {{"mstcp\\0001", "MSTCP\\0002"}, "MSTCP", "mstcp\\0001"},
        {{"NETBEUI\\0000", "MSTCP\\0004", "MSTCP\\0005"}, "MSTCP", "MSTCP\\0004"},
        {{"NETBEUI\\0000", "IPX\\0001"}, "MSTCP", ""},
        {{}, "MSTCP", ""},
        {{"first", "second"}, "", "first"},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.reg.CreateKeyPath(kHkeyLocalMachine, kBindings);
        for (const auto& n : c.names)
            t.reg.SetString(kHkeyLocalMachine, kBindings, n, "");
        EXPECT_EQ(EnumRegValues(t.app, kHkeyLocalMachine, kBindings, c.match), c.expected)
            << c.match;
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    }
}

TEST(EnumRegValues, NothingWhenTheKeyOrAValueCannotBeRead) {
    TestApp t;
    EXPECT_EQ(EnumRegValues(t.app, kHkeyLocalMachine, "", "MSTCP"), "");
    EXPECT_EQ(EnumRegValues(t.app, kHkeyLocalMachine, "\\Bindings", "MSTCP"), "");
    EXPECT_TRUE(t.reg.openAccess.size() <= 1u);

    // Data beyond 4096 bytes stops the enumeration before a later match.
    t.reg.SetString(kHkeyLocalMachine, kBindings, "Big", std::string(5000, 'x'));
    t.reg.SetString(kHkeyLocalMachine, kBindings, "MSTCP\\0001", "");
    EXPECT_EQ(EnumRegValues(t.app, kHkeyLocalMachine, kBindings, "MSTCP"), "");
    EXPECT_EQ(t.reg.openAccess.back(), 0x20019u);
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

} // namespace
} // namespace ww
