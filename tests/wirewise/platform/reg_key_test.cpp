#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/reg_key.h"
#include "seams/registry.h"

namespace ww {
namespace {

// One value that grows by `growth` bytes at each of its first `growingReads` reads of data,
// as a value another program keeps writing to; every call is counted.
class GrowingValue final : public Registry {
  public:
    uint32_t size = 0, growth = 0, growingReads = 0;
    long missing = kErrorSuccess; // the status of every query when not success
    int sizeQueries = 0, dataReads = 0;
    std::vector<HKey> opened, closed;

    long OpenKeyEx(HKey, const std::string& subKey, uint32_t, uint32_t, HKey* result) override {
        if (subKey == "missing") return kErrorFileNotFound;
        *result = 0x100 + opened.size();
        opened.push_back(*result);
        return kErrorSuccess;
    }
    long CreateKey(HKey root, const std::string& subKey, HKey* result) override {
        return OpenKeyEx(root, subKey, 0, 0, result);
    }
    long QueryValueEx(HKey, const std::string&, uint32_t* type, uint8_t* data,
                      uint32_t* bytes) override {
        if (missing != kErrorSuccess) return missing;
        *type = kRegBinary;
        if (data == nullptr) {
            ++sizeQueries;
            *bytes = size;
            return kErrorSuccess;
        }
        ++dataReads;
        if (growingReads > 0) {
            --growingReads;
            size += growth;
        }
        const bool fits = *bytes >= size;
        if (fits) std::memset(data, 'v', size);
        *bytes = size;
        return fits ? kErrorSuccess : kErrorMoreData;
    }
    long SetValueEx(HKey, const std::string&, uint32_t, const uint8_t*, uint32_t) override {
        return kErrorSuccess;
    }
    long EnumKey(HKey, uint32_t, char*, uint32_t) override { return kErrorNoMoreItems; }
    long EnumValue(HKey, uint32_t, char*, uint32_t*, uint32_t*, uint8_t*, uint32_t*) override {
        return kErrorNoMoreItems;
    }
    long CloseKey(HKey key) override {
        closed.push_back(key);
        return kErrorSuccess;
    }
};

TEST(RegKey, QueryValueReadsTheWholeValueHoweverItGrows) {
    const struct {
        const char* what;
        uint32_t size, growth, growingReads, limit;
        long status;
        size_t bytes; // of data on success
        int sizeQueries, dataReads;
    } cases[] = {
        {"a steady value", 40, 0, 0, RegKey::kWhole, kErrorSuccess, 40, 1, 1},
        {"an empty value", 0, 0, 0, RegKey::kWhole, kErrorSuccess, 0, 1, 1},
        {"one byte more since the size was asked", 40, 1, 1, RegKey::kWhole, kErrorSuccess, 41, 1,
         1},
        {"growing twice", 40, 10, 2, RegKey::kWhole, kErrorSuccess, 60, 1, 3},
        {"growing at every read", 40, 10, 100, RegKey::kWhole, kErrorMoreData, 0, 1, 8},
        {"within the limit", 1024, 0, 0, 1024, kErrorSuccess, 1024, 0, 1},
        {"beyond the limit", 1025, 0, 0, 1024, kErrorMoreData, 0, 0, 1},
        {"grown beyond the limit", 1000, 100, 1, 1024, kErrorMoreData, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GrowingValue reg;
        reg.size = c.size;
        reg.growth = c.growth;
        reg.growingReads = c.growingReads;
        RegKey key(reg);
        ASSERT_EQ(key.Open(kHkeyLocalMachine, "Software", kKeyRead), kErrorSuccess);
        uint32_t type = 0;
        std::string data = "left over";
        EXPECT_EQ(key.QueryValue("V", &type, &data, c.limit), c.status);
        EXPECT_EQ(data, std::string(c.bytes, 'v'));
        if (c.status == kErrorSuccess) {
            EXPECT_EQ(type, kRegBinary);
        }
        EXPECT_EQ(reg.sizeQueries, c.sizeQueries);
        EXPECT_EQ(reg.dataReads, c.dataReads);
    }
}

TEST(RegKey, QueryValueHandsOnTheRegistrysRefusal) {
    for (const long status : {kErrorFileNotFound, kErrorAccessDenied}) {
        for (const uint32_t limit : {RegKey::kWhole, uint32_t{1024}}) {
            GrowingValue reg;
            reg.missing = status;
            RegKey key(reg);
            key.Open(kHkeyLocalMachine, "Software", kKeyRead);
            uint32_t type = 0;
            std::string data = "left over";
            EXPECT_EQ(key.QueryValue("V", &type, &data, limit), status) << limit;
            EXPECT_EQ(data, "") << limit;
        }
    }
}

// Each key is closed once: when the next one is opened or created, and when the owner goes;
// a key that did not open is not closed.
TEST(RegKey, EveryOpenedKeyIsClosedOnce) {
    GrowingValue reg;
    {
        RegKey key(reg);
        EXPECT_FALSE(key);
        EXPECT_EQ(key.Open(kHkeyLocalMachine, "First", kKeyRead), kErrorSuccess);
        EXPECT_EQ(key.Create(kHkeyLocalMachine, "Second"), kErrorSuccess);
        EXPECT_EQ(reg.closed, std::vector<HKey>{reg.opened[0]});
        EXPECT_EQ(key.Open(kHkeyLocalMachine, "missing", kKeyReadWrite), kErrorFileNotFound);
        EXPECT_FALSE(key);
        EXPECT_EQ(key.Open(kHkeyLocalMachine, "Third", kKeyReadWrite), kErrorSuccess);
        EXPECT_EQ(key.get(), reg.opened.back());
    }
    EXPECT_EQ(reg.closed, reg.opened);
    EXPECT_EQ(reg.opened.size(), 3u);
}

} // namespace
} // namespace ww
