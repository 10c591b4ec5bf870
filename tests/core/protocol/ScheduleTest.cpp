#include "core/protocol/Schedule.h"
#include "core/protocol/Frames.h"

#include <gtest/gtest.h>

namespace led {
namespace {

ScheduleRow row(bool inUse, int day, const char* time, int first, int last, int mode = 0)
{
    ScheduleRow r;
    r.inUse = inUse;
    r.day = day;
    r.time = time;
    r.mode = mode;
    r.first = first;
    r.last = last;
    return r;
}

const Bytes UnusedRow("\x08\x00\x00\x00\x00\x00\x00\x01\x00\x00\x01\x07\x00\x00\x01\x01", 16);

TEST(Schedule, RowBytes)
{
    struct Case
    {
        const char* name;
        ScheduleRow row;
        Bytes expected;
    } cases[] = {
        {"every day 08:00, show 1 to 10", row(true, 0, "080000", 1, 10),
         Bytes("\x00\x00\x08\x00\x00\x00\x00\x01\x00\x01\x00\x08\x08\x00\x01\x0A", 16)},
        {"every day 17:00, switch off", row(true, 0, "170000", 0, 0, 1),
         Bytes("\x00\x01\x07\x00\x00\x00\x00\x00\x00\x00\x00\x08\x11\x00\x00\x00", 16)},
        {"not in use, defaults", ScheduleRow{}, UnusedRow},
        {"Sunday 23:59, screens 254", row(true, 7, "235930", 254, 254),
         Bytes("\x07\x02\x03\x05\x09\x02\x05\x04\x02\x05\x04\x00\x17\x3B\xFE\xFE", 16)},
        {"Monday", row(true, 1, "000000", 1, 1),
         Bytes("\x01\x00\x00\x00\x00\x00\x00\x01\x00\x00\x01\x01\x00\x00\x01\x01", 16)},
        {"Saturday keeps its index", row(true, 6, "123000", 5, 12),
         Bytes("\x06\x01\x02\x03\x00\x00\x00\x05\x00\x01\x02\x06\x0C\x1E\x05\x0C", 16)},
        {"not in use keeps its fields", row(false, 3, "120500", 2, 9),
         Bytes("\x08\x01\x02\x00\x05\x00\x00\x02\x00\x00\x09\x07\x0C\x05\x02\x09", 16)},
        {"not in use, unfilled time counts as 0", row(false, 0, "1_ _00", 1, 1),
         Bytes("\x08\x01\x00\x00\x00\x00\x00\x01\x00\x00\x01\x07\x0A\x00\x01\x01", 16)},
    };
    for (const auto& c : cases) {
        const auto bytes = scheduleRowBytes(c.row);
        ASSERT_TRUE(bytes) << c.name;
        EXPECT_EQ(hexDump(*bytes), hexDump(c.expected)) << c.name;
    }
}

TEST(Schedule, CheckTime)
{
    struct Case
    {
        const char* time;
        bool ok;
    } cases[] = {
        {"080000", true},  {"235959", true},   {"000000", true},  {"250000", false},
        {"240000", false}, {"236000", false},  {"235960", false}, {"12a000", false},
        {"12000", false},  {"1200000", false}, {"", false},       {"12 000", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckTime(c.time), c.ok) << c.time;
}

TEST(Schedule, TimerOffIsTheDefaultRowsWithTheTimerSwitchedOff)
{
    TSystemparameter s;
    s.colorSet = 1;
    const auto sent = scheduleTransmission(s, WeeklySchedule{}, false);
    ASSERT_TRUE(sent);
    const Bytes header("\xFF\x80\x7F\x01\x00\x01", 6);
    Bytes expected =
        header + Bytes("\xFF\x10\xEF\x00\x00\xFF\xF4\x0B", 8) + header + "\xFF\x04\xFB";
    for (int n = 0; n < 9; ++n)
        expected += UnusedRow;
    expected += "\x0F\xFF\xF4\x0B";
    EXPECT_EQ(hexDump(sent.bytes), hexDump(expected));
}

TEST(Schedule, TransmissionWithTimerOn)
{
    TSystemparameter s;
    s.colorSet = 2;
    s.machine[1] = s.machine[3] = 1;
    WeeklySchedule w;
    w.rows[0] = row(true, 0, "080000", 1, 10);
    w.rows[1] = row(true, 0, "170000", 0, 0, 1);
    const auto sent = scheduleTransmission(s, w);
    ASSERT_TRUE(sent);

    const Bytes header("\xFF\x18\xE7\x02\x01\x03\x00", 7);
    Bytes rows;
    for (const auto& r : w.rows)
        rows += *scheduleRowBytes(r);
    const Bytes expected = header + Bytes("\xFF\x10\xEF\x01\x01\xFF\xF4\x0B", 8) + header +
                           "\xFF\x04\xFB" + rows + static_cast<char>(xorSum(rows)) + "\xFF\xF4\x0B";
    EXPECT_EQ(hexDump(sent.bytes), hexDump(expected));
    EXPECT_EQ(sent.bytes.size(), 7u + 8 + 7 + 3 + 144 + 1 + 3);
}

TEST(Schedule, RowInUseWithABadTimeStopsTheSend)
{
    TSystemparameter s;
    WeeklySchedule w;
    w.rows[4] = row(true, 0, "250000", 1, 1);
    w.rows[2] = row(false, 0, "250000", 1, 1); // not in use: sent as it stands
    const auto sent = scheduleTransmission(s, w);
    EXPECT_FALSE(sent);
    EXPECT_EQ(sent.badRow, 5);
    EXPECT_TRUE(sent.bytes.empty());
    EXPECT_EQ(sent.error, std::string(texts::BadTime) + "\n定時5: 25:00:00");
    EXPECT_EQ(s.machine[0], 0); // nothing was built

    w.rows[4].time = "1\n\xA4\xA4";
    EXPECT_EQ(scheduleTransmission(s, w).error, std::string(texts::BadTime) + "\n定時5: 1_:__");
}

TEST(Schedule, RowEditingRules)
{
    ScheduleRow r;
    r.setMode(1);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, 0);
    EXPECT_FALSE(r.screensEnabled());
    r.setMode(0);
    EXPECT_EQ(r.first, 1);
    EXPECT_EQ(r.last, 1);
    EXPECT_TRUE(r.screensEnabled());

    r.setFirst(7);
    EXPECT_EQ(r.last, 7);
    r.setFirst(3);
    EXPECT_EQ(r.last, 7);
    EXPECT_TRUE(r.leaveLast());

    r.setFirst(5);
    r.last = 3;
    EXPECT_FALSE(r.leaveLast());
    EXPECT_EQ(r.last, 5);
}

} // namespace
} // namespace led
