#include "platform/reg_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

constexpr HKey kHklm = kHkeyLocalMachine;
using Lines = std::vector<std::string>;

// Records every event as one line; hooks let a test act from inside a handler.
struct Recorder final : RegSearchEvents {
    Lines events;
    std::function<void()> onFound;
    std::function<void(int32_t)> onFinished;
    void cReg_SearchFound(const std::string& root, const std::string& key, const std::string& value,
                          int32_t found) override {
        events.push_back(std::to_string(found) + " " + root + " " + key + " = " + value);
        if (onFound) onFound();
    }
    void cReg_SearchFinished(int32_t reason) override {
        events.push_back("finished " + std::to_string(reason));
        if (onFinished) onFinished(reason);
    }
};

// A small Enum\PCI tree like the one Windows 9x keeps for its network cards.
void SeedPci(FakeRegistry& reg) {
    reg.SetString(kHklm, "Enum\\PCI\\VEN_10EC\\BUS_00", "Driver", "Net\\0001");
    reg.SetString(kHklm, "Enum\\PCI\\VEN_10EC\\BUS_00", "DeviceDesc", "Realtek NIC");
    reg.SetString(kHklm, "Enum\\PCI\\VEN_8086\\BUS_01", "Driver", "Net\\0002");
    reg.SetDword(kHklm, "Enum\\PCI\\VEN_8086\\BUS_01", "Count", 26);
}

TEST(cRegSearch, FlagsChooseWhatIsTested) {
    struct Case {
        const char* name;
        uint32_t flags;
        const char* text;
        Lines events;
    } cases[] = {
        {"key names only",
         0,
         "bus_0",
         {"0 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_10EC\\BUS_00 = *",
          "0 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_8086\\BUS_01 = *", "finished 0"}},
        {"value names",
         kSearchValueNames,
         "driver",
         {"1 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_10EC\\BUS_00\\Driver = Net\\0001",
          "1 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_8086\\BUS_01\\Driver = Net\\0002", "finished 0"}},
        {"contents, whole text",
         kSearchValueContents | kSearchWholeText,
         "net\\0002",
         {"2 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_8086\\BUS_01\\Driver = Net\\0002", "finished 0"}},
        {"contents, substring",
         kSearchValueContents,
         "(26)",
         {"2 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_8086\\BUS_01\\Count = 0x0000001A(26)",
          "finished 0"}},
        {"whole text misses a part",
         kSearchValueContents | kSearchWholeText,
         "net",
         {"finished 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        SeedPci(t.reg);
        Recorder r;
        cRegSearch s(t.app, r);
        s.RootKey = kHklm;
        s.Subkey = "Enum\\PCI";
        s.SearchFlags = c.flags;
        s.SearchString = c.text;
        s.DoSearch();
        EXPECT_EQ(r.events, c.events);
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
        EXPECT_EQ(t.reg.badCloses, 0);
    }
}

TEST(cRegSearch, WholeTextComparesTheWholeNameWithoutCase) {
    for (const bool whole : {true, false}) {
        TestApp t;
        t.reg.CreateKeyPath(kHklm, "S\\DRIVER");
        t.reg.CreateKeyPath(kHklm, "S\\DriverDesc");
        Recorder r;
        cRegSearch s(t.app, r);
        s.RootKey = kHklm;
        s.Subkey = "S";
        s.SearchString = "driver";
        s.SearchFlags = whole ? kSearchWholeText : 0;
        s.DoSearch();
        Lines want{"0 HKEY_LOCAL_MACHINE S\\DRIVER = *"};
        if (!whole) want.push_back("0 HKEY_LOCAL_MACHINE S\\DriverDesc = *");
        want.push_back("finished 0");
        EXPECT_EQ(r.events, want);
    }
}

TEST(cRegSearch, RendersValueContents) {
    struct Case {
        const char* name;
        uint32_t type;
        std::string data;
        std::string text;
    } cases[] = {
        {"string", 1, std::string("abc\0", 4), "abc"},
        {"string stored without NUL", 1, "abc", "abc"},
        {"list gives its first string", 7, std::string("one\0two\0\0", 9), "one"},
        {"binary", 3, "\x01\xA0\xFF", "01 A0 FF"},
        {"number", 4, std::string("\x1A\0\0\0", 4), "0x0000001A(26)"},
        {"negative number", 4, "\xFF\xFF\xFF\xFF", "0xFFFFFFFF(-1)"},
        {"expandable string", 2, std::string("%x%\0", 4), "Temporary unsupported"},
        {"big-endian number", 5, std::string("\0\0\0\x01", 4), "Temporary unsupported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ValueDataText(c.type, c.data), c.text);
    }
}

TEST(cRegSearch, AnEmptyValueIsReadAsOneZeroByte) {
    TestApp t;
    t.reg.SetValue(kHklm, "S", "Bin", 3, "");
    t.reg.SetValue(kHklm, "S", "Str", 1, "");
    t.reg.SetValue(kHklm, "S", "Odd", 8, "");
    Recorder r;
    cRegSearch s(t.app, r);
    s.RootKey = kHklm;
    s.Subkey = "S";
    s.SearchFlags = kSearchValueContents;
    s.DoSearch();
    EXPECT_EQ(r.events,
              (Lines{"2 HKEY_LOCAL_MACHINE S\\Bin = 00", "2 HKEY_LOCAL_MACHINE S\\Str = ",
                     "2 HKEY_LOCAL_MACHINE S\\Odd = Temporary unsupported", "finished 0"}));
}

TEST(cRegSearch, TheRootsOwnValuesHaveABackslashBeforeTheirName) {
    TestApp t;
    t.reg.SetString(kHkeyCurrentConfig, "", "Name", "x");
    t.reg.SetString(kHkeyCurrentConfig, "Sub", "Name", "y");
    Recorder r;
    cRegSearch s(t.app, r);
    s.RootKey = kHkeyCurrentConfig;
    s.SearchFlags = kSearchValueNames;
    s.SearchString = "name";
    s.DoSearch();
    EXPECT_EQ(r.events, (Lines{"1 HKEY_CURRENT_CONFIG \\Name = x",
                               "1 HKEY_CURRENT_CONFIG Sub\\Name = y", "finished 0"}));
}

TEST(cRegSearch, RootKeyZeroWalksTheSevenRootsInTurn) {
    TestApp t;
    for (HKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root)
        if (root != kHkeyUsers) t.reg.SetString(root, "Software\\Hit", "Hit", "v");
    t.reg.SetString(kHklm, "", "Hit", "not tested in this mode");
    Recorder r;
    cRegSearch s(t.app, r);
    s.Subkey = "Software";
    s.SearchString = "hit";
    s.SearchFlags = kSearchValueNames;
    s.DoSearch();
    Lines want;
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                             "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
        want.push_back(std::string("0 ") + root + " Software\\Hit = *");
        want.push_back(std::string("1 ") + root + " Software\\Hit\\Hit = v");
    }
    want.push_back("finished 0");
    EXPECT_EQ(r.events, want);
    EXPECT_EQ(RootKeyName(0x80000007), "");
}

TEST(cRegSearch, StopFromAFoundHandlerThenASecondSearchRunsNormally) {
    TestApp t;
    t.reg.CreateKeyPath(kHklm, "S\\A1\\Deep1");
    t.reg.CreateKeyPath(kHklm, "S\\A2\\Deep2");
    t.reg.CreateKeyPath(kHklm, "S\\A3");
    Recorder r;
    cRegSearch s(t.app, r);
    s.RootKey = kHklm;
    s.Subkey = "S";
    s.SearchString = "a";
    r.onFound = [&] {
        if (r.events.size() == 1) s.StopSearch();
    };
    s.DoSearch();
    // Sub-keys of the open enumeration are still reported; no further key is opened.
    EXPECT_EQ(r.events, (Lines{"0 HKEY_LOCAL_MACHINE S\\A1 = *", "0 HKEY_LOCAL_MACHINE S\\A2 = *",
                               "0 HKEY_LOCAL_MACHINE S\\A3 = *", "finished 1"}));
    r.events.clear();
    r.onFound = nullptr;
    s.SearchString = "deep";
    s.DoSearch();
    EXPECT_EQ(r.events, (Lines{"0 HKEY_LOCAL_MACHINE S\\A1\\Deep1 = *",
                               "0 HKEY_LOCAL_MACHINE S\\A2\\Deep2 = *", "finished 0"}));
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST(cRegSearch, PacesItsMessagePumpByTheTickCount) {
    struct Case {
        const char* name;
        uint32_t start, step;
        int pumps;
    } cases[] = {
        {"a tick count that stands still: the first step only", 100, 0, 1},
        {"readings 4 ms apart: every third step", 0, 4, 3},
        {"readings a second apart: every step", 100, 1000, 7},
        {"a tick count that wraps round", 0xFFFFFFF0, 1000, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        for (const char* k : {"S\\A", "S\\B", "S\\C"})
            t.reg.CreateKeyPath(kHklm, k);
        t.sys.tickCount = c.start;
        t.sys.tickStep = c.step;
        Recorder r;
        cRegSearch s(t.app, r);
        s.RootKey = kHklm;
        s.Subkey = "S";
        s.DoSearch();
        // S: four steps (three names and the end); each of A, B, C: one step.
        EXPECT_EQ(t.sys.doEventsCalls, c.pumps);
    }
}

TEST(cRegSearch, AStopFromAPumpedMessageOpensNoFurtherKey) {
    for (const uint32_t step : {4u, 1000u}) {
        SCOPED_TRACE(step);
        TestApp t;
        for (const char* k : {"S\\A\\A1\\A2", "S\\B\\B1", "S\\C", "S\\D"})
            t.reg.CreateKeyPath(kHklm, k);
        t.sys.tickStep = step;
        Recorder r;
        cRegSearch s(t.app, r);
        s.RootKey = kHklm;
        s.Subkey = "S";
        s.SearchString = "1";
        size_t opensAtStop = 0;
        t.sys.onDoEvents = [&] {
            if (t.sys.doEventsCalls != 2) return;
            s.StopSearch();
            opensAtStop = t.reg.openAccess.size();
        };
        s.DoSearch();
        EXPECT_GT(opensAtStop, 0u);
        EXPECT_EQ(t.reg.openAccess.size(), opensAtStop);
        EXPECT_EQ(r.events.back(), "finished 1");
        EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    }
}

TEST(cRegSearch, AFinishedHandlerMayReleaseTheSearchAndStartTheNext) {
    TestApp t;
    SeedPci(t.reg);
    Recorder r;
    std::unique_ptr<cRegSearch> current;
    const std::vector<std::string> texts{"Net\\0001", "Net\\0002"};
    size_t next = 0;
    std::function<void()> startNext = [&] {
        current = std::make_unique<cRegSearch>(t.app, r);
        current->RootKey = kHklm;
        current->Subkey = "Enum\\PCI";
        current->SearchFlags = kSearchValueContents | kSearchWholeText;
        current->SearchString = texts[next++];
        current->DoSearch();
    };
    r.onFinished = [&](int32_t) {
        current->StopSearch();
        current.reset();
        if (next < texts.size()) startNext();
    };
    startNext();
    EXPECT_EQ(
        r.events,
        (Lines{"2 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_10EC\\BUS_00\\Driver = Net\\0001", "finished 0",
               "2 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_8086\\BUS_01\\Driver = Net\\0002",
               "finished 0"}));
    EXPECT_EQ(current, nullptr);
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST(cRegSearch, ASearchReleasedMidWalkTellsNobodyMore) {
    TestApp t;
    SeedPci(t.reg);
    Recorder r;
    auto s = std::make_unique<cRegSearch>(t.app, r);
    s->RootKey = kHklm;
    s->SearchString = "bus";
    r.onFound = [&] { s.reset(); };
    cRegSearch* raw = s.get();
    raw->DoSearch();
    EXPECT_EQ(r.events, (Lines{"0 HKEY_LOCAL_MACHINE Enum\\PCI\\VEN_10EC\\BUS_00 = *"}));
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
}

TEST(cRegSearch, AnErrorInsideTheWalkEndsItWithItsNumber) {
    TestApp t;
    SeedPci(t.reg);
    Recorder r;
    cRegSearch s(t.app, r);
    s.RootKey = kHklm;
    s.SearchString = "VEN_10EC";
    r.onFound = [] { throw std::bad_alloc(); };
    s.DoSearch();
    EXPECT_EQ(r.events.back(), "finished 7");
    EXPECT_EQ(r.events.size(), 2u);
    EXPECT_EQ(t.reg.OpenHandleCount(), 0u);
    r.events.clear();
    r.onFound = nullptr;
    s.DoSearch();
    EXPECT_EQ(r.events.back(), "finished 0");
}

TEST(cRegSearch, SkipsKeysThatDoNotOpenAndValuesTooLargeToRead) {
    TestApp t;
    t.reg.SetString(kHklm, "S", "First", "hit");
    t.reg.SetValue(kHklm, "S", "Huge", 3, std::string(4097, 'x'));
    t.reg.SetString(kHklm, "S", "After", "hit"); // the oversized value ends the key's values
    t.reg.SetString(kHklm, "S\\Sub", "Deep", "hit");
    Recorder r;
    cRegSearch s(t.app, r);
    s.RootKey = kHklm;
    s.Subkey = "S";
    s.SearchString = "hit";
    s.SearchFlags = kSearchValueContents;
    s.DoSearch();
    EXPECT_EQ(r.events, (Lines{"2 HKEY_LOCAL_MACHINE S\\First = hit",
                               "2 HKEY_LOCAL_MACHINE S\\Sub\\Deep = hit", "finished 0"}));
    r.events.clear();
    s.Subkey = "Missing";
    s.DoSearch();
    EXPECT_EQ(r.events, (Lines{"finished 0"}));
}

} // namespace
} // namespace ww::test
