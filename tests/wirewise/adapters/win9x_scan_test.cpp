#include "adapters/win9x_scan.h"

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"

namespace ww {
namespace {

using test::TestApp;

constexpr const char* kRealtek = "Enum\\PCI\\VEN_10EC&DEV_8139\\BUS_00&DEV_0B&FUNC_00";
constexpr const char* k3Com = "Enum\\PCI\\VEN_10B7&DEV_9200\\BUS_00&DEV_0C&FUNC_00";

void AddAdapter(TestApp& t, const std::string& description, const std::string& name) {
    t.app.Adapters.push_back(AdapterEntry{description, name, "", "", 1});
    t.app.AdapterCount = static_cast<int16_t>(t.app.Adapters.size() - 1);
}

// A device key with its description, its MSTCP binding and the binding's network entry.
void SeedDevice(TestApp& t, const std::string& key, const std::string& description,
                const std::string& binding, const std::string& driver) {
    t.reg.SetString(kHkeyLocalMachine, key, "Class", "Net");
    t.reg.SetString(kHkeyLocalMachine, key, "DeviceDesc", description);
    t.reg.SetString(kHkeyLocalMachine, key + "\\Bindings", "NETBEUI\\0000", "");
    t.reg.SetString(kHkeyLocalMachine, key + "\\Bindings", binding, "");
    t.reg.SetString(kHkeyLocalMachine, "Enum\\Network\\" + binding, "Driver", driver);
}

void RunScan(Win9xNicScan& scan) {
    scan.ScanPosition = 0;
    scan.SearchNextWin9xNIC();
}

TEST(Win9xScan, EachAdapterGetsItsDeviceBindingAndNetTransInstance) {
    TestApp t;
    AddAdapter(t, "Realtek RTL8139", "{A}");
    AddAdapter(t, "3Com EtherLink", "{B}");
    SeedDevice(t, kRealtek, "Realtek RTL8139", "MSTCP\\0003", "NetTrans\\0003");
    SeedDevice(t, k3Com, "3COM ETHERLINK", "mstcp\\0007", "nettrans\\0007");
    Win9xNicScan scan(t.app);
    RunScan(scan);

    EXPECT_EQ(t.app.Adapters[1].DeviceKey, kRealtek);
    EXPECT_EQ(t.app.Adapters[1].BindingName, "MSTCP\\0003");
    EXPECT_EQ(t.app.Adapters[1].AdapterKey, "0003");
    EXPECT_EQ(t.app.Adapters[2].DeviceKey, k3Com);
    EXPECT_EQ(t.app.Adapters[2].BindingName, "mstcp\\0007");
    EXPECT_EQ(t.app.Adapters[2].AdapterKey, "0007");
    EXPECT_EQ(scan.ScanPosition, 2);
    EXPECT_EQ(scan.ScanText, "3Com EtherLink");
    EXPECT_EQ(scan.cReg, nullptr);
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    EXPECT_TRUE(t.LogLines().empty());
}

TEST(Win9xScan, DriverDecidesTheAdapterKey) {
    const struct {
        const char* driver;
        const char* key;
    } cases[] = {
        {"NetTrans\\0003", "0003"},
        {"NETTRANS\\0010", "0010"},
        {"NetService\\0001", "{A}"},
        {"", "{A}"},
        {"NetTrans\\", ""},
        // The instance is what follows "Nettrans\\", wherever the driver names it.
        {"Legacy\\NetTrans\\0004", "0004"},
    };
    for (const auto& c : cases) {
        TestApp t;
        AddAdapter(t, "Realtek RTL8139", "{A}");
        SeedDevice(t, kRealtek, "Realtek RTL8139", "MSTCP\\0001", c.driver);
        Win9xNicScan scan(t.app);
        RunScan(scan);
        EXPECT_EQ(t.app.Adapters[1].AdapterKey, c.key) << c.driver;
    }
}

TEST(Win9xScan, TheLastDeviceKeyReportedWins) {
    TestApp t;
    AddAdapter(t, "Realtek RTL8139", "{A}");
    SeedDevice(t, k3Com, "Realtek RTL8139", "MSTCP\\0002", "NetTrans\\0002");
    SeedDevice(t, kRealtek, "Realtek RTL8139", "MSTCP\\0005", "NetTrans\\0005");
    Win9xNicScan scan(t.app);
    RunScan(scan);
    // Sub-keys are walked in name order: VEN_10EC comes after VEN_10B7.
    EXPECT_EQ(t.app.Adapters[1].DeviceKey, kRealtek);
    EXPECT_EQ(t.app.Adapters[1].AdapterKey, "0005");
}

TEST(Win9xScan, DeviceNotFoundKeepsTheIpHelperName) {
    TestApp t;
    AddAdapter(t, "PPP Adapter", "{P}");
    SeedDevice(t, kRealtek, "Realtek RTL8139", "MSTCP\\0001", "NetTrans\\0001");
    // A description found only as part of a longer text is no match: the whole text must match.
    t.reg.SetString(kHkeyLocalMachine, k3Com, "DeviceDesc", "PPP Adapter (2)");
    Win9xNicScan scan(t.app);
    RunScan(scan);
    EXPECT_EQ(t.app.Adapters[1].DeviceKey, "");
    EXPECT_EQ(t.app.Adapters[1].BindingName, "");
    EXPECT_EQ(t.app.Adapters[1].AdapterKey, "{P}");
}

TEST(Win9xScan, NoAdaptersCompletesAtOnce) {
    TestApp t;
    SeedDevice(t, kRealtek, "Realtek RTL8139", "MSTCP\\0001", "NetTrans\\0001");
    const size_t opensBefore = t.reg.openAccess.size();
    Win9xNicScan scan(t.app);
    RunScan(scan);
    EXPECT_EQ(t.reg.openAccess.size(), opensBefore);
    EXPECT_EQ(scan.ScanPosition, 0);
    EXPECT_EQ(t.app.Adapters.size(), 1u);
}

TEST(Win9xScan, FoundKeyWithoutBackslashIsTakenWhole) {
    TestApp t;
    AddAdapter(t, "A", "{A}");
    Win9xNicScan scan(t.app);
    scan.ScanPosition = 1;
    scan.cReg_SearchFound("HKEY_LOCAL_MACHINE", "Enum\\PCI\\X\\DeviceDesc", "A", 2);
    EXPECT_EQ(t.app.Adapters[1].DeviceKey, "Enum\\PCI\\X");
    scan.cReg_SearchFound("HKEY_LOCAL_MACHINE", "Top", "*", 0);
    EXPECT_EQ(t.app.Adapters[1].DeviceKey, "Top");
}

} // namespace
} // namespace ww
