#include "adapters/adapter_list.h"

#include <cstring>
#include <new>

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"
#include "fakes/wirewise/fake_box.h"

namespace ww {
namespace {

using test::FakeAdapter;
using test::FakeBox;
using test::FakeIpHelper;
using test::TestApp;
using Lines = std::vector<std::string>;

const char* const kNoAdaptersBox =
    "No Network adapters were found.\r\n"
    "This program requires at least one adapter to be installed (inc. drivers).\r\n"
    "Please install a network adapter card or the USB network adapter driver.";

FakeAdapter Adapter(const std::string& description, const std::string& name, int32_t index) {
    FakeAdapter a;
    a.description = description;
    a.name = name;
    a.index = index;
    return a;
}

TEST(StripNull, CutsAtTheSeparatorAndTrimsSpacesOnly) {
    const struct {
        std::string text, separator, expected;
    } cases[] = {
        {std::string("  eth0 \0junk", 12), std::string(1, '\0'), "eth0"},
        {"no separator  ", std::string(1, '\0'), "no separator"},
        {std::string("\0eth0", 5), std::string(1, '\0'), ""},
        {"\teth0\t", std::string(1, '\0'), "\teth0\t"},
        {"a;b;c", ";", "a"},
        {"    ", std::string(1, '\0'), ""},
        {"", std::string(1, '\0'), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripNull(c.text, c.separator), c.expected) << c.text;
}

TEST(ListAdapters, OneEntryRowAndLogLinePerAdapterInOrder) {
    TestApp t;
    t.iphlp.adapters = {Adapter("Realtek RTL8139", "{A}", 2), Adapter("", "{B}", 3),
                        Adapter(std::string("  PPP link \0old text", 20), "  {C}  ", -7)};
    t.iphlp.adapters[2].type = 23;
    FakeBox box;
    ListAdapters(t.app, box);

    EXPECT_EQ(t.LogLines(), (Lines{"1, Realtek RTL8139", "2, {B}", "3, PPP link"}));
    EXPECT_EQ(box.rows, (Lines{"Realtek RTL8139", "{B}", "PPP link"}));
    EXPECT_EQ(box.selected, std::vector<int>{0});
    EXPECT_EQ(t.app.AdapterCount, 3);
    EXPECT_EQ(t.app.SelectedAdapter, 1);
    ASSERT_EQ(t.app.Adapters.size(), 4u);
    EXPECT_EQ(t.app.Adapters[0].DisplayText, "");
    EXPECT_EQ(t.app.Adapters[0].IfIndex, 0);
    EXPECT_EQ(t.app.Adapters[2].AdapterKey, "{B}");
    EXPECT_EQ(t.app.Adapters[3].AdapterKey, "{C}");
    EXPECT_EQ(t.app.Adapters[3].IfIndex, -7);
    EXPECT_EQ(t.app.Adapters[1].DeviceKey, "");
    EXPECT_TRUE(t.ui.boxes.empty());
}

TEST(ListAdapters, DescriptionsComeFromTheAnsiCodePage) {
    TestApp t;
    t.iphlp.adapters = {Adapter("Carte r\xe9seau", "{A}", 1)};
    FakeBox box;
    ListAdapters(t.app, box);
    EXPECT_EQ(t.app.Adapters[1].DisplayText, "Carte r\xc3\xa9seau");
    EXPECT_EQ(t.files.files[t.app.LogPath], "1, Carte r\xe9seau\r\n");
}

TEST(ListAdapters, FullFieldsWithoutNulStayInsideTheirField) {
    TestApp t;
    t.iphlp.adapters = {Adapter(std::string(140, 'D'), std::string(300, 'N'), 1)};
    FakeBox box;
    ListAdapters(t.app, box);
    EXPECT_EQ(t.app.Adapters[1].DisplayText, std::string(132, 'D'));
    EXPECT_EQ(t.app.Adapters[1].AdapterKey, std::string(260, 'N'));
}

TEST(ListAdapters, NoAdapterLogsAndShowsTheBoxOnce) {
    const struct {
        const char* what;
        void (*arrange)(FakeIpHelper&);
        Lines log;
    } cases[] = {
        {"none reported",
         [](FakeIpHelper&) {},
         {"GetAdaptersInfo sizing failed with error 232", "No Network adapters found"}},
        {"sizing refused",
         [](FakeIpHelper& f) { f.adaptersSizing = 87; },
         {"GetAdaptersInfo sizing failed with error 87", "No Network adapters found"}},
        {"fetch refused",
         [](FakeIpHelper& f) { f.adaptersFetch = 122; },
         {"GetAdaptersInfo failed with error 122", "No Network adapters found"}},
        {"library missing",
         [](FakeIpHelper& f) { f.files.clear(); },
         {"Missing iphlpapi_9x.dll", "No Network adapters found"}},
        {"function missing",
         [](FakeIpHelper& f) { f.missing.insert("iphlpapi_9x!GetAdaptersInfo"); },
         {"Missing iphlpapi_9x.dll", "No Network adapters found"}},
        {"sizing gives no room",
         [](FakeIpHelper& f) {
             f.adaptersSizing = 0;
             f.adaptersFetch = 0;
         },
         {"No Network adapters found"}},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {Adapter("eth0", "{A}", 1)};
        if (std::string(c.what) == "none reported") t.iphlp.adapters.clear();
        c.arrange(t.iphlp);
        FakeBox box;
        ListAdapters(t.app, box);
        EXPECT_EQ(t.LogLines(), c.log) << c.what;
        ASSERT_EQ(t.ui.boxes.size(), 1u) << c.what;
        EXPECT_EQ(t.ui.boxes[0].text, kNoAdaptersBox);
        EXPECT_EQ(t.ui.boxes[0].style, kMbOk | kMbIconHand);
        EXPECT_TRUE(box.rows.empty());
        EXPECT_TRUE(box.selected.empty());
        EXPECT_EQ(t.app.AdapterCount, 0);
        EXPECT_EQ(t.app.SelectedAdapter, 0);
        EXPECT_EQ(t.app.Adapters.size(), 1u);
    }
}

// A folder too long to load from is the one thing to tell: no second box sends the user to look
// for a network card.
TEST(ListAdapters, AfterThePathTooLongBoxNoOtherFollows) {
    TestApp t;
    const std::string folder = "C:\\" + std::string(250, 'x') + "\\";
    t.files.programPath = folder + "wirewise.exe";
    t.iphlp.files = {folder + "iphlpapi_9x.dll"};
    FakeBox box;
    ListAdapters(t.app, box);
    EXPECT_EQ(t.LogLines(), (Lines{"Path too long for Windows: " + folder + "iphlpapi_9x.dll",
                                   "No Network adapters found"}));
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].text,
              "The folder this program runs from has too long a path for Windows to load the "
              "program's files from it.\r\n\r\nCopy the program's folder to a shorter path, such "
              "as C:\\Corvane, and start it there.");
    EXPECT_EQ(t.app.AdapterCount, 0);
}

TEST(ListAdapters, ListIsRebuiltFromScratch) {
    TestApp t;
    t.app.Adapters.push_back(AdapterEntry{"old", "old", "", "", 9});
    t.iphlp.adapters = {Adapter("eth0", "{A}", 1)};
    FakeBox box;
    ListAdapters(t.app, box);
    ASSERT_EQ(t.app.Adapters.size(), 2u);
    EXPECT_EQ(t.app.Adapters[1].DisplayText, "eth0");
}

// Records damaged after IP Helper laid them out: the walk ends where the damage is and keeps
// what it had.
TEST(ListAdapters, DamagedChainEndsTheWalkKeepingEarlierEntries) {
    auto setNext = [](uint8_t* buf, size_t record, uintptr_t value) {
        std::memcpy(buf + record * FakeIpHelper::AdapterInfoSize(), &value, sizeof value);
    };
    const size_t rec = FakeIpHelper::AdapterInfoSize();
    const struct {
        const char* what;
        std::function<void(uint8_t*, uint32_t)> tamper;
        int entries;
    } cases[] = {
        {"next before the buffer",
         [&](uint8_t* b, uint32_t) { setNext(b, 0, reinterpret_cast<uintptr_t>(b) - 8); }, 1},
        {"next past the end",
         [&](uint8_t* b, uint32_t n) { setNext(b, 1, reinterpret_cast<uintptr_t>(b) + n); }, 2},
        {"record that does not fit",
         [&](uint8_t* b, uint32_t n) {
             setNext(b, 1, reinterpret_cast<uintptr_t>(b) + n - rec + 1);
         },
         2},
        {"chain back to the first",
         [&](uint8_t* b, uint32_t) { setNext(b, 2, reinterpret_cast<uintptr_t>(b)); }, 3},
        {"chain to itself",
         [&](uint8_t* b, uint32_t) { setNext(b, 0, reinterpret_cast<uintptr_t>(b)); }, 1},
        {"wild address", [&](uint8_t* b, uint32_t) { setNext(b, 0, ~uintptr_t{0} - 3); }, 1},
    };
    for (const auto& c : cases) {
        TestApp t;
        t.iphlp.adapters = {Adapter("A", "{A}", 1), Adapter("B", "{B}", 2), Adapter("C", "{C}", 3)};
        t.iphlp.tamperAdapters = c.tamper;
        FakeBox box;
        ListAdapters(t.app, box);
        EXPECT_EQ(t.app.AdapterCount, c.entries) << c.what;
        EXPECT_EQ(box.rows.size(), static_cast<size_t>(c.entries)) << c.what;
        EXPECT_TRUE(t.ui.boxes.empty()) << c.what;
        EXPECT_EQ(box.selected, std::vector<int>{0}) << c.what;
    }
}

// A failure of its own kind inside the walk (here the box running out of memory on the second
// row) ends the walk; the end step still runs over what was made, and the caller hears nothing.
TEST(ListAdapters, AFailureInsideTheWalkStillEndsInTheEndStep) {
    struct FullBox final : AdapterBox {
        std::vector<int> selected;
        int rows = 0;
        void AddItem(const std::string&) override {
            if (++rows == 2) throw std::bad_alloc();
        }
        void SetListIndex(int row) override { selected.push_back(row); }
    };
    TestApp t;
    t.iphlp.adapters = {Adapter("A", "{A}", 1), Adapter("B", "{B}", 2), Adapter("C", "{C}", 3)};
    FullBox box;
    EXPECT_NO_THROW(ListAdapters(t.app, box));
    EXPECT_EQ(t.app.AdapterCount, 2);
    EXPECT_EQ(t.app.SelectedAdapter, 1);
    EXPECT_EQ(box.selected, std::vector<int>{0});
    EXPECT_TRUE(t.ui.boxes.empty());
}

} // namespace
} // namespace ww
