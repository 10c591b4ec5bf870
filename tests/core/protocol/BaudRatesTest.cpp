#include "core/protocol/BaudRates.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(BaudRates, IndexGivesRateAndStatusText)
{
    struct Case
    {
        int index;
        int baud;
        const char* text;
    } cases[] = {
        {1, 150, "150BPS"},
        {6, 2400, "2400BPS"},
        {8, 7200, "7200BPS"},
        {11, 38400, "38400BPS"},
        {14, 230400, "230400BPS"},
        // A hand-edited .CFG: taken as 2400.
        {0, 2400, "2400BPS"},
        {15, 2400, "2400BPS"},
        {-3, 2400, "2400BPS"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(baudRateForIndex(c.index), c.baud) << c.index;
        EXPECT_STREQ(baudEntryForIndex(c.index).statusText, c.text) << c.index;
    }
    for (int i = 1; i <= BaudIndexCount; ++i)
        EXPECT_EQ(baudTable()[i - 1].index, i);
}

TEST(BaudRates, OnlySixMenuItemsSendACode)
{
    const std::optional<std::uint8_t> none;
    const std::optional<std::uint8_t> expected[] = {none, none, none, 0, none, 1,    2,
                                                    none, 3,    3,    3, none, none, none};
    for (int tag = 1; tag <= BaudIndexCount; ++tag) {
        EXPECT_EQ(baudCodeForTag(tag), expected[tag - 1]) << tag;
        EXPECT_EQ(baudTagSends(tag), expected[tag - 1].has_value()) << tag;
    }
    EXPECT_EQ(baudCodeForTag(0), none);
    EXPECT_EQ(baudCodeForTag(99), none);
    for (int rate : BaudSweepRates)
        EXPECT_TRUE(baudCodeForRate(rate).has_value()) << rate;
    EXPECT_EQ(baudCodeForRate(57600), none);
}

TEST(BaudRates, ChangeTransmissionHasNoUnitZeroFallback)
{
    struct Case
    {
        const char* name;
        int colorSet;
        std::vector<int> units;
        std::uint8_t code;
        Bytes bytes;
    } cases[] = {
        {"colour, units 1 and 3, 19200",
         2,
         {1, 3},
         3,
         Bytes("\xFF\x18\xE7\x02\x01\x03\x00\xFF\x1B\xE4\x03\xFF\xF4\x0B", 14)},
        {"mono, nothing selected, 1200",
         1,
         {},
         0,
         Bytes("\xFF\x80\x7F\x00\x00\xFF\x1B\xE4\x00\xFF\xF4\x0B", 12)},
        {"colour set 0, unit 0, 2400",
         0,
         {0},
         1,
         Bytes("\x01\x00\x01\xFF\x1B\xE4\x01\xFF\xF4\x0B", 10)},
    };
    for (const auto& c : cases) {
        TSystemparameter s;
        s.colorSet = c.colorSet;
        for (int u : c.units)
            s.machine[u] = 1;
        EXPECT_EQ(baudChangeTransmission(s, c.code), c.bytes) << c.name;
        if (c.units.empty()) {
            EXPECT_EQ(s.machine[0], 0) << c.name;
        }
        EXPECT_EQ(s.selectedCount, static_cast<int>(c.units.size())) << c.name;
    }
}

TEST(BaudRates, ChangeTransmissionForAllUnits)
{
    TSystemparameter s;
    s.machine.fill(1);
    const Bytes bytes = baudChangeTransmission(s, 2);
    ASSERT_EQ(bytes.size(), 1u + 256 + 1 + 4 + 3);
    EXPECT_EQ(bytes[0], '\0');
    EXPECT_EQ(bytes.substr(258), Bytes("\xFF\x1B\xE4\x02\xFF\xF4\x0B", 7));
}

} // namespace
} // namespace led
