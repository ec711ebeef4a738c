#include <gtest/gtest.h>

#include <string>

#include "queries/int_query.h"
#include "tests/fakes/fake_win_calls.h"

namespace {

struct VersionCase {
    uint32_t platformId, major, minor;
    int expected;
};

void stageVersion(uint32_t platformId, uint32_t major, uint32_t minor, bool extendedFails = false) {
    fakePlatform().getVersionEx = [=](OsVersionRecord* record) {
        if (extendedFails && record->size == OS_VERSION_RECORD_EX_SIZE) return false;
        record->platformId = platformId;
        record->majorVersion = major;
        record->minorVersion = minor;
        return true;
    };
}

TEST(IsVista, AnswersOneOnlyForNtSixZeroAndSixOne) {
    const VersionCase cases[] = {
        {2, 5, 1, 0}, {2, 6, 0, 1}, {2, 6, 1, 1}, {2, 6, 2, 0}, {2, 6, 3, 0}, {2, 10, 0, 0},
        {1, 6, 0, 0},  // the 9x platform with a Vista-like number
        {2, 7, 1, 0},
    };
    for (const VersionCase& c : cases) {
        resetFakePlatform();
        stageVersion(c.platformId, c.major, c.minor);
        EXPECT_EQ(queryIntValue("isvista", 77), c.expected)
            << "platform " << c.platformId << " version " << c.major << "." << c.minor;
        EXPECT_EQ(fakePlatform().calls, std::vector<std::string>{"getVersionEx:156"});
    }
}

TEST(IsVista, RetriesWithTheShortRecordWithoutClearingIt) {
    resetFakePlatform();
    stageVersion(2, 6, 1, /*extendedFails=*/true);
    EXPECT_EQ(queryIntValue("isvista", 5), 1);
    EXPECT_EQ(fakePlatform().calls, (std::vector<std::string>{"getVersionEx:156", "getVersionEx:148"}));
}

TEST(IsVista, BothCallsFailingAnswersZero) {
    resetFakePlatform();
    int seen = 0;
    fakePlatform().getVersionEx = [&](OsVersionRecord* record) {
        ++seen;
        record->platformId = 2;  // written but the call failed: must not count
        record->majorVersion = 6;
        return false;
    };
    EXPECT_EQ(queryIntValue("ISVISTA", 9), 0);
    EXPECT_EQ(seen, 2);
}

TEST(QueryIntValue, KeyTable) {
    struct KeyCase {
        const char* key;
        int fallback;
        int expected;
    } cases[] = {
        {"version", 0, 13},   {"Version", -5, 13},    {"VERSION", 99, 13},  {"vErSiOn", -2147483647 - 1, 13},
        {" version", 7, 7},   {"version ", -7, -7},   {"", 42, 42},         {"versio", -1, -1},
        {"versions", 3, 3},   {"isvista2", -3, -3},   {"unknown", -2147483647 - 1, -2147483647 - 1},
    };
    for (const KeyCase& c : cases) {
        resetFakePlatform();
        EXPECT_EQ(queryIntValue(c.key, c.fallback), c.expected) << "key '" << c.key << "'";
        EXPECT_TRUE(fakePlatform().calls.empty()) << c.key;
    }
}

TEST(QueryIntValue, NullKeyAnswersTheDefault) {
    resetFakePlatform();
    EXPECT_EQ(queryIntValue(nullptr, -12), -12);
}

TEST(QueryIntValue, KeysAreCutAt259Bytes) {
    resetFakePlatform();
    // "version" padded to 259 bytes would never match; a 259-byte key that
    // equals nothing known answers the default, and so does a longer one
    // whose first 259 bytes are the same.
    std::string padded = "version" + std::string(252, ' ');
    ASSERT_EQ(padded.size(), 259u);
    EXPECT_EQ(queryIntValue(padded.c_str(), 4), 4);
    std::string longKey = "version" + std::string(300, 'x');
    EXPECT_EQ(queryIntValue(longKey.c_str(), -4), -4);
    // A key of 259 bytes or more never reads past what was given.
    std::string huge(5000, 'V');
    EXPECT_EQ(queryIntValue(huge.c_str(), 1), 1);
}

}  // namespace
