// cRegSearch opens each key once and paces its message pump; over the same registry it must
// report exactly what the former walk reported: the same events with the same arguments in the
// same order, the same end reason, also when a handler stops, releases or fails mid-walk.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <stdexcept>

#include "fakes/wirewise/test_app.h"
#include "platform/reg_search.h"
#include "reference_walk.h"

namespace ww::test {
namespace {

constexpr HKey kHklm = kHkeyLocalMachine;
using Lines = std::vector<std::string>;
using Tree = std::function<void(FakeRegistry&)>;

// What a handler does at the n-th event (or the n-th pump step), counted from 1.
enum class Act { None, StopOnFound, ThrowOnFound, ReleaseOnFound, StopOnPump, ThrowOnPump };
struct Action {
    Act act = Act::None;
    int at = 0;
};

struct Query {
    HKey root;
    std::string subkey;
    uint32_t flags;
    std::string text;
};

struct Recorder final : RegSearchEvents {
    Lines events;
    std::function<void()> onFound;
    void cReg_SearchFound(const std::string& root, const std::string& key, const std::string& value,
                          int32_t found) override {
        events.push_back(std::to_string(found) + "|" + root + "|" + key + "|" + value);
        if (onFound) onFound();
    }
    void cReg_SearchFinished(int32_t reason) override {
        events.push_back("finished " + std::to_string(reason));
    }
};

// The clock moves on far enough at every reading for the paced pump to run at every step, as
// the former walk's did.
constexpr uint32_t kPumpEveryStep = 1000;

// One search over a fresh copy of the tree, the clock moving on by tickStep at every reading.
// Also counts the keys opened.
template <class Search>
Lines RunSearch(const Tree& tree, const Query& q, Action a, size_t* opens = nullptr,
                uint32_t tickStep = kPumpEveryStep) {
    TestApp t;
    tree(t.reg);
    t.sys.tickStep = tickStep;
    Recorder r;
    auto search = std::make_unique<Search>(t.app, r);
    search->RootKey = q.root;
    search->Subkey = q.subkey;
    search->SearchFlags = q.flags;
    search->SearchString = q.text;
    int found = 0, pumps = 0;
    r.onFound = [&] {
        if (++found != a.at) return;
        if (a.act == Act::StopOnFound) search->StopSearch();
        if (a.act == Act::ThrowOnFound) throw std::runtime_error("handler failed");
        if (a.act == Act::ReleaseOnFound) search.reset();
    };
    t.sys.onDoEvents = [&] {
        if (++pumps != a.at) return;
        if (a.act == Act::StopOnPump) search->StopSearch();
        if (a.act == Act::ThrowOnPump) throw std::bad_alloc();
    };
    Search* raw = search.get();
    raw->DoSearch();
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    EXPECT_EQ(t.reg.badCloses, 0);
    if (opens) *opens = t.reg.openAccess.size();
    return r.events;
}

// Adapters' device keys as Windows 9x keeps them, with a few values of every type.
void PciTree(FakeRegistry& reg) {
    const std::string pci = "Enum\\PCI\\";
    reg.SetString(kHklm, pci + "VEN_10EC&DEV_8139\\BUS_00&DEV_0B&FUNC_00", "DeviceDesc", "eth0");
    reg.SetString(kHklm, pci + "VEN_10EC&DEV_8139\\BUS_00&DEV_0B&FUNC_00", "Driver", "Net\\0001");
    reg.SetBinary(kHklm, pci + "VEN_10EC&DEV_8139\\BUS_00&DEV_0B&FUNC_00", "ConfigFlags",
                  {0, 0, 0, 0});
    reg.SetString(kHklm, pci + "VEN_10EC&DEV_8139\\BUS_00&DEV_0B&FUNC_00\\Bindings", "MSTCP\\0001",
                  "");
    reg.SetDword(kHklm, pci + "VEN_8086&DEV_1229", "Count", 2);
    reg.SetString(kHklm, pci + "VEN_8086&DEV_1229\\BUS_01&DEV_02&FUNC_00", "DeviceDesc", "wlan0");
    reg.SetMultiSz(kHklm, pci + "VEN_8086&DEV_1229\\BUS_01&DEV_02&FUNC_00", "HardwareID",
                   {"PCI\\VEN_8086", "eth0"});
    reg.SetString(kHklm, pci + "VEN_8086&DEV_1229\\BUS_01&DEV_03&FUNC_00", "DeviceDesc", "ETH0");
    reg.SetString(kHklm, "Enum\\PCI", "Root", "at the start key");
}

// Everything at a limit or off the common road.
void OddTree(FakeRegistry& reg) {
    const std::string t = "T";
    const std::string name259(259, 'n'), name260(260, 'n');
    reg.SetString(kHklm, t, "", "default value");
    reg.SetValue(kHklm, t, "Empty", 1, "");
    reg.SetValue(kHklm, t, "EmptyBin", 3, "");
    reg.SetValue(kHklm, t, "Full", 3, std::string(4096, '\xAB'));
    reg.SetValue(kHklm, t, "FullText", 1, std::string(4095, 'a') + '\0');
    reg.SetValue(kHklm, t, name259, 1, std::string("long name\0", 10));
    reg.SetValue(kHklm, t, "NoNul", 1, "eth0");
    reg.SetValue(kHklm, t, "InnerNul", 1, std::string("eth0\0tail\0", 10));
    reg.SetValue(kHklm, t, "Short", 4, "\x1A\x01");
    reg.SetValue(kHklm, t, "Odd", 11, "12345678");
    reg.SetValue(kHklm, t, "Expand", 2, std::string("%x%\0", 4));
    reg.SetValue(kHklm, t, "Caf\xE9", 1, std::string("Caf\xE9\0", 5));
    reg.SetValue(kHklm, t, "Euro", 1, std::string("\x80 5\0", 4));
    reg.SetValue(kHklm, t, "Unassigned", 1, std::string("a\x81z\0", 4));
    reg.SetValue(kHklm, t, "Upper", 1, std::string("CAF\xC9\0", 5));
    // A value too large for the buffer ends the scan of its key's values.
    reg.SetValue(kHklm, t + "\\Big", "Before", 1, std::string("eth0\0", 5));
    reg.SetValue(kHklm, t + "\\Big", "Huge", 3, std::string(4097, 'x'));
    reg.SetValue(kHklm, t + "\\Big", "After", 1, std::string("eth0\0", 5));
    reg.SetValue(kHklm, t + "\\LongName", "Before", 1, std::string("eth0\0", 5));
    reg.SetValue(kHklm, t + "\\LongName", name260, 1, std::string("eth0\0", 5));
    reg.SetValue(kHklm, t + "\\LongName", "After", 1, std::string("eth0\0", 5));
    reg.SetString(kHklm, t + "\\" + name259, "Inside", "eth0");
    reg.SetString(kHklm, t + "\\" + name259 + "\\Deeper", "Inside", "eth0");
    // A sub-key name too long for the buffer ends the enumeration of its parent's sub-keys.
    reg.CreateKeyPath(kHklm, t + "\\Z\\A");
    reg.CreateKeyPath(kHklm, t + "\\Z\\" + name260);
    reg.CreateKeyPath(kHklm, t + "\\Z\\zz");
    reg.SetString(kHklm, t + "\\Gone", "Inside", "eth0");
    reg.SetString(kHklm, t + "\\Gone\\Below", "Inside", "eth0");
    reg.MarkVanishing(kHklm, t + "\\Gone");
    reg.SetString(kHklm, t + "\\Caf\xE9\\Eth0", "eth0", "Caf\xE9");
    reg.SetString(kHklm, t + "\\a\\b\\c\\d\\e\\f", "Deep", "eth0");
    reg.SetString(kHkeyCurrentUser, t + "\\User", "Name", "eth0");
    reg.SetString(kHkeyCurrentConfig, "", "AtRoot", "eth0");
}

// Random trees of short names in both cases and values of every type, so that short texts
// match a lot and every handler action lands somewhere different.
Tree RandomTree(unsigned seed) {
    return [seed](FakeRegistry& reg) {
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const char* parts[] = {"a", "B", "ab", "Ab", "eth", "0", "\xE9", "x"};
        const auto name = [&] {
            std::string s;
            for (int i = 0, n = 1 + pick(3); i < n; ++i)
                s += parts[pick(8)];
            return s;
        };
        std::vector<std::string> keys{"T"};
        for (int k = 0; k < 40; ++k) {
            const std::string key =
                keys[static_cast<size_t>(pick(static_cast<int>(keys.size())))] + "\\" + name();
            keys.push_back(key);
            reg.CreateKeyPath(kHklm, key);
            for (int v = 0, n = pick(4); v < n; ++v) {
                const uint32_t types[] = {1, 1, 3, 4, 7, 0};
                const uint32_t type = types[pick(6)];
                std::string data = name();
                if (pick(3) == 0) data += '\0' + name();
                if (type == 1 || type == 7) data += '\0';
                reg.SetValue(kHklm, key, name(), type, data);
            }
            if (pick(15) == 0) reg.MarkVanishing(kHklm, key);
        }
    };
}

bool DependsOnThePump(Action a) {
    return a.act == Act::StopOnPump || a.act == Act::ThrowOnPump;
}

// Each query and action as the former walk ran it; the actions that do not wait for a pump step
// also with the clock standing still, so that the program's own pacing, which then pumps only
// at the first step, is compared as well.
void ExpectSameAsReference(const Tree& tree, const std::vector<Query>& queries,
                           const std::vector<Action>& actions) {
    for (const Query& q : queries)
        for (const Action& a : actions) {
            SCOPED_TRACE(q.subkey + " flags " + std::to_string(q.flags) + " text \"" + q.text +
                         "\" act " + std::to_string(static_cast<int>(a.act)) + " at " +
                         std::to_string(a.at));
            const Lines reference = RunSearch<ReferenceSearch>(tree, q, a);
            EXPECT_EQ(RunSearch<cRegSearch>(tree, q, a), reference);
            if (!DependsOnThePump(a)) {
                EXPECT_EQ(RunSearch<cRegSearch>(tree, q, a, nullptr, 0), reference) << "paced";
            }
        }
}

std::vector<Query> EveryFlag(HKey root, const std::string& subkey,
                             const std::vector<std::string>& texts) {
    std::vector<Query> queries;
    for (uint32_t flags = 0; flags < 8; ++flags)
        for (const std::string& text : texts)
            queries.push_back({root, subkey, flags, text});
    return queries;
}

const std::vector<Action> kActions = {
    {Act::None, 0},           {Act::StopOnFound, 1}, {Act::StopOnFound, 3}, {Act::ThrowOnFound, 2},
    {Act::ReleaseOnFound, 2}, {Act::StopOnPump, 3},  {Act::ThrowOnPump, 5},
};

TEST(cRegSearchEquivalence, AdapterTree) {
    ExpectSameAsReference(PciTree, EveryFlag(kHklm, "Enum\\PCI", {"eth0", "", "net\\0001", "0"}),
                          kActions);
    ExpectSameAsReference(PciTree, EveryFlag(kHklm, "", {"eth0"}), {{Act::None, 0}});
}

TEST(cRegSearchEquivalence, OddTree) {
    // Caf\xC3\xA9 is the program's text for the ANSI Caf\xE9; \xE2\x86\x92 has no ANSI form.
    const std::vector<std::string> texts = {"eth0",
                                            "",
                                            "caf\xC3\xA9",
                                            "\xE2\x82\xAC",
                                            "AB AB",
                                            "0x",
                                            std::string(259, 'N'),
                                            "\xE2\x86\x92",
                                            "a?z",
                                            "temporary unsupported"};
    ExpectSameAsReference(OddTree, EveryFlag(kHklm, "T", texts), kActions);
    ExpectSameAsReference(OddTree, EveryFlag(0, "T", {"eth0", ""}), kActions);
    ExpectSameAsReference(OddTree, EveryFlag(kHkeyCurrentConfig, "", {"eth0"}), kActions);
}

TEST(cRegSearchEquivalence, RandomTrees) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExpectSameAsReference(RandomTree(seed), EveryFlag(kHklm, "T", {"ab", "eth0", ""}),
                              kActions);
    }
}

// A system that reports more bytes of a value than it wrote: the former walk read every value
// into a zeroed buffer, so the bytes an earlier, longer value left must not show.
TEST(cRegSearchEquivalence, BytesReportedButNotWritten) {
    const auto unwritten = [](uint32_t extra, const Tree& tree) -> Tree {
        return [extra, tree](FakeRegistry& reg) {
            tree(reg);
            reg.enumValueUnwritten = extra;
        };
    };
    const Tree stale = [](FakeRegistry& reg) {
        reg.SetValue(kHklm, "T", "Long", 1, std::string("eth0 and more text\0", 19));
        reg.SetValue(kHklm, "T", "Short", 1, "eth0");
        reg.SetValue(kHklm, "T", "Bytes", 3, "\x01");
        reg.SetValue(kHklm, "T\\Next", "Full", 3, std::string(4096, '\xAB'));
        reg.SetValue(kHklm, "T\\Next\\Last", "Short", 1, "eth0");
        reg.SetValue(kHklm, "T\\Next\\Last", "Empty", 4, "");
    };
    const std::vector<Action> once = {{Act::None, 0}};
    for (const uint32_t extra : {1u, 3u, 4096u}) {
        SCOPED_TRACE("unwritten " + std::to_string(extra));
        ExpectSameAsReference(unwritten(extra, stale),
                              EveryFlag(kHklm, "T", {"eth0", "01", "0x00000000(0)"}), once);
        ExpectSameAsReference(unwritten(extra, OddTree), EveryFlag(kHklm, "T", {"eth0", ""}), once);
    }
}

TEST(cRegSearchEquivalence, EachKeyIsOpenedOnce) {
    // Enum\PCI, two vendors, three devices, one Bindings key: seven keys.
    size_t opens = 0, before = 0;
    const Query q{kHklm, "Enum\\PCI", kSearchValueContents | kSearchWholeText, "eth0"};
    RunSearch<cRegSearch>(PciTree, q, {}, &opens);
    RunSearch<ReferenceSearch>(PciTree, q, {}, &before);
    EXPECT_EQ(opens, 7u);
    EXPECT_EQ(before, 14u);
}

} // namespace
} // namespace ww::test
