// The fake registry stands in for Windows in every unit test, so its answers are pinned here.
#include "fakes/wirewise/fake_registry.h"

#include <gtest/gtest.h>

namespace ww::test {
namespace {

constexpr HKey kHklm = kHkeyLocalMachine;

TEST(FakeRegistry, OpenAnswersTheWin32Statuses) {
    FakeRegistry reg;
    reg.SetString(kHklm, "Software\\Corvane", "Name", "x");
    reg.MarkReadOnly(kHklm, "Software\\Locked");
    struct Case {
        const char* path;
        uint32_t access;
        long status;
    } cases[] = {
        {"Software\\Corvane", 0x2003F, 0}, {"SOFTWARE\\corvane", 0x20019, 0},
        {"Software\\Missing", 0x20019, 2}, {"Software\\Corvane\\Deeper", 0x20019, 2},
        {"Software\\Locked", 0x2003F, 5},  {"Software\\Locked", 0x20019, 0},
        {"\\Software", 0x20019, 161},      {"Software\\\\Corvane", 0x20019, 161},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        HKey key = 0;
        EXPECT_EQ(reg.OpenKeyEx(kHklm, c.path, 0, c.access, &key), c.status);
        EXPECT_EQ(key != 0, c.status == 0);
        reg.CloseKey(key);
    }
    HKey key = 0;
    EXPECT_EQ(reg.OpenKeyEx(0x1234, "Software", 0, 0x20019, &key), kErrorInvalidHandle);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_EQ(reg.badCloses, 0);
}

TEST(FakeRegistry, QueryKeepsTypesAndBytesAndReportsTheSizeNeeded) {
    FakeRegistry reg;
    reg.SetString(kHklm, "K", "WithNul", "abc");
    reg.SetString(kHklm, "K", "NoNul", "abc", false);
    reg.SetMultiSz(kHklm, "K", "List", {"a", "bc"});
    reg.SetDword(kHklm, "K", "Num", 0x01020304);
    reg.SetValue(kHklm, "K", "Empty", 3, "");
    struct Case {
        const char* name;
        uint32_t type;
        std::string bytes;
    } cases[] = {
        {"withnul", 1, std::string("abc\0", 4)},
        {"NoNul", 1, "abc"},
        {"List", 7, std::string("a\0bc\0\0", 6)},
        {"Num", 4, "\x04\x03\x02\x01"},
        {"Empty", 3, ""},
    };
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(kHklm, "K", 0, 0x20019, &key), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t type = 0, size = 0;
        EXPECT_EQ(reg.QueryValueEx(key, c.name, &type, nullptr, &size), 0);
        EXPECT_EQ(size, c.bytes.size());
        uint8_t buf[16] = {};
        size = sizeof buf;
        EXPECT_EQ(reg.QueryValueEx(key, c.name, &type, buf, &size), 0);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), size), c.bytes);
        if (!c.bytes.empty()) {
            size = static_cast<uint32_t>(c.bytes.size() - 1);
            EXPECT_EQ(reg.QueryValueEx(key, c.name, &type, buf, &size), kErrorMoreData);
            EXPECT_EQ(size, c.bytes.size());
        }
    }
    uint32_t size = 4;
    uint8_t buf[4];
    EXPECT_EQ(reg.QueryValueEx(key, "Missing", nullptr, buf, &size), kErrorFileNotFound);
    EXPECT_EQ(reg.CloseKey(key), 0);
    EXPECT_EQ(reg.QueryValueEx(key, "Num", nullptr, buf, &size), kErrorInvalidHandle);
}

TEST(FakeRegistry, EnumeratesSubKeysSortedAndValuesInInsertionOrder) {
    FakeRegistry reg;
    for (const char* k : {"b", "A", "c_x", "C"})
        reg.CreateKeyPath(kHklm, std::string("R\\") + k);
    for (const char* v : {"zeta", "Alpha", "mid"})
        reg.SetDword(kHklm, "R", v, 1);
    reg.SetDword(kHklm, "R", "ALPHA", 2); // rewriting keeps its place and first spelling
    HKey key = 0;
    ASSERT_EQ(reg.OpenKeyEx(kHklm, "R", 0, 0x20019, &key), 0);
    std::vector<std::string> keys;
    char name[260];
    uint32_t i = 0;
    long status = 0;
    while ((status = reg.EnumKey(key, i++, name, sizeof name)) == 0)
        keys.emplace_back(name);
    EXPECT_EQ(status, kErrorNoMoreItems);
    EXPECT_EQ(keys, (std::vector<std::string>{"A", "b", "C", "c_x"}));
    EXPECT_EQ(reg.EnumKey(key, 3, name, 3), kErrorMoreData);

    std::vector<std::string> values;
    for (i = 0;; ++i) {
        uint32_t nameSize = sizeof name, type = 0, dataSize = 4;
        uint8_t data[4];
        status = reg.EnumValue(key, i, name, &nameSize, &type, data, &dataSize);
        if (status != 0) break;
        EXPECT_EQ(nameSize, std::string(name).size());
        values.emplace_back(name);
    }
    EXPECT_EQ(status, kErrorNoMoreItems);
    EXPECT_EQ(values, (std::vector<std::string>{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(reg.Get(kHklm, "r", "alpha")->bytes, std::string("\x02\0\0\0", 4));
    uint32_t nameSize = 4, dataSize = 1;
    uint8_t data[1];
    EXPECT_EQ(reg.EnumValue(key, 0, name, &nameSize, nullptr, data, &dataSize), kErrorMoreData);
    nameSize = sizeof name;
    EXPECT_EQ(reg.EnumValue(key, 0, name, &nameSize, nullptr, data, &dataSize), kErrorMoreData);
    EXPECT_EQ(dataSize, 4u);

    // A key deleted after its name was listed: still enumerated, no longer opened.
    reg.MarkVanishing(kHklm, "R\\b");
    EXPECT_EQ(reg.EnumKey(key, 1, name, sizeof name), 0);
    EXPECT_EQ(std::string(name), "b");
    HKey gone = 0;
    EXPECT_EQ(reg.OpenKeyEx(key, "b", 0, 0x20019, &gone), kErrorFileNotFound);
    EXPECT_EQ(reg.OpenKeyEx(kHklm, "R\\b", 0, 0x20019, &gone), kErrorFileNotFound);
    EXPECT_EQ(gone, 0u);
    reg.CloseKey(key);
}

TEST(FakeRegistry, CreateMakesParentsAndHonoursReadOnlyKeys) {
    FakeRegistry reg;
    reg.MarkReadOnly(kHklm, "Locked");
    HKey key = 0;
    EXPECT_EQ(reg.CreateKey(kHklm, "A\\B\\C", &key), 0);
    EXPECT_TRUE(reg.KeyExists(kHklm, "a\\b"));
    const uint8_t one = 1;
    EXPECT_EQ(reg.SetValueEx(key, "v", 3, &one, 1), 0);
    reg.CloseKey(key);
    // An existing read-only key opens for reading only; nothing can be created below it.
    EXPECT_EQ(reg.CreateKey(kHklm, "Locked", &key), 0);
    EXPECT_EQ(reg.SetValueEx(key, "v", 3, &one, 1), kErrorAccessDenied);
    reg.CloseKey(key);
    EXPECT_EQ(reg.CreateKey(kHklm, "Locked\\New", &key), kErrorAccessDenied);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(reg.KeyExists(kHklm, "Locked\\New"));
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(FakeRegistry, PredefinedRootsAndCurrentUserLink) {
    FakeRegistry reg;
    reg.LinkCurrentUser("S-1-5-21-1-2-3-1000");
    reg.SetString(kHkeyCurrentUser, "Software", "v", "x");
    EXPECT_TRUE(reg.Get(kHkeyUsers, "S-1-5-21-1-2-3-1000\\Software", "v").has_value());
    for (HKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) {
        HKey key = 1;
        EXPECT_EQ(reg.OpenKeyEx(root, "", 0, 0x20019, &key), 0);
        EXPECT_EQ(key, root);
        EXPECT_EQ(reg.CloseKey(key), 0);
    }
    EXPECT_EQ(reg.CloseKey(0x4242), kErrorInvalidHandle);
    EXPECT_EQ(reg.badCloses, 1);
}

} // namespace
} // namespace ww::test
