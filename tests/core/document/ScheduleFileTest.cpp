#include "core/document/ScheduleFile.h"
#include "core/document/TextLines.h"
#include "core/text/Cp950.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace led {
namespace {

const Bytes Label = big5("定時");

ScheduleRow row(bool inUse, int day, const char* time, int mode, int first, int last)
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

// Every row away from its defaults, so a row left alone shows.
WeeklySchedule busy()
{
    WeeklySchedule w;
    for (int n = 0; n < ScheduleRowCount; ++n)
        w.rows[n] = row(true, n % 8, "235900", 0, n + 2, 200 + n);
    return w;
}

TEST(ScheduleFile, Lines)
{
    struct Case
    {
        const char* name;
        Bytes line;
        ScheduleRow row;
    } cases[] = {
        {"row 1 every day 08:00, show 1 to 10", Label + "1 1 0 080000 0 1 10",
         row(true, 0, "080000", 0, 1, 10)},
        {"row 3 Saturday 12:30, not in use", Label + "3 0 6 123000 0 5 12",
         row(false, 6, "123000", 0, 5, 12)},
        {"switch off at 17:00 on Sunday", Label + "2 1 7 170000 1 0 0",
         row(true, 7, "170000", 1, 0, 0)},
        {"largest screen numbers", Label + "4 1 1 000000 0 254 254",
         row(true, 1, "000000", 0, 254, 254)},
    };
    for (const auto& c : cases) {
        WeeklySchedule read;
        EXPECT_EQ(readScheduleImage(c.line + "\r\n", read), 1) << c.name;
        EXPECT_EQ(read.rows[0], c.row) << c.name;
        for (int n = 1; n < ScheduleRowCount; ++n)
            EXPECT_EQ(read.rows[n], ScheduleRow{}) << c.name;

        WeeklySchedule w;
        w.rows[c.line[4] - '1'] = c.row;
        EXPECT_EQ(splitTextLines(writeScheduleImage(w))[c.line[4] - '1'], c.line) << c.name;
    }
}

TEST(ScheduleFile, NineLinesRoundTrip)
{
    const WeeklySchedule w = busy();
    const Bytes image = writeScheduleImage(w);
    EXPECT_EQ(splitTextLines(image).size(), 9u);
    EXPECT_EQ(image.substr(image.size() - 2), "\r\n");
    WeeklySchedule read;
    EXPECT_EQ(readScheduleImage(image, read), 9);
    EXPECT_EQ(read, w);
    EXPECT_EQ(writeScheduleImage(read), image);
}

TEST(ScheduleFile, ShortAndDamagedFiles)
{
    WeeklySchedule w = busy();
    EXPECT_EQ(readScheduleImage("", w), 0); // no line: nothing changes
    EXPECT_EQ(w, busy());

    // Three lines fill three rows; the rows after them get their defaults.
    const Bytes image = writeScheduleImage(busy());
    const auto split = splitTextLines(image);
    Bytes three;
    for (int n = 0; n < 3; ++n)
        three += Bytes(split[n]) + "\n";
    EXPECT_EQ(readScheduleImage(three, w), 3);
    for (int n = 0; n < ScheduleRowCount; ++n)
        EXPECT_EQ(w.rows[n], n < 3 ? busy().rows[n] : ScheduleRow{}) << n;

    // Fields that are missing or do not parse get their defaults.
    struct Case
    {
        const char* name;
        Bytes line;
        ScheduleRow row;
    } cases[] = {
        {"only the label", Label + "1", ScheduleRow{}},
        {"stops after the time", Label + "1 1 3 0815", row(true, 3, "000000", 0, 1, 1)},
        {"day 9 and a letter in the time", Label + "1 1 9 08a000 1 4 5",
         row(true, 0, "000000", 1, 4, 5)},
        {"no last screen", Label + "1 0 2 101010 0 7", row(false, 2, "101010", 0, 7, 1)},
        {"screens out of range", Label + "1 0 2 101010 0 999 99999999999999",
         row(false, 2, "101010", 0, 254, 254)},
        {"negative and unreadable screens", Label + "1 0 2 101010 0 -4 x",
         row(false, 2, "101010", 0, 0, 1)},
        {"Big5 where the digits should be", Label + Label + Label + Label + Label,
         row(false, 0, "000000", 0, 1, 1)},
    };
    for (const auto& c : cases) {
        WeeklySchedule read = busy();
        readScheduleImage(c.line, read);
        EXPECT_EQ(read.rows[0], c.row) << c.name;
    }
}

TEST(ScheduleFile, WritingKeepsTheFieldsInTheirPlaces)
{
    WeeklySchedule w;
    w.rows[0] = row(true, 12, "8:00", 7, -3, 999);
    EXPECT_EQ(splitTextLines(writeScheduleImage(w))[0], Label + "1 1 7 800000 0 0 254");
}

TEST(ScheduleFile, LoadAndSave)
{
    test::TempDir dir;
    const auto path = dir / "DATA" / "abc.SCH";
    WeeklySchedule w = busy();
    EXPECT_TRUE(w.load(path)); // missing: every row back to its defaults
    EXPECT_EQ(w, WeeklySchedule{});

    ASSERT_TRUE(busy().save(path));
    ASSERT_TRUE(w.load(path));
    EXPECT_EQ(w, busy());

    std::ofstream(path, std::ios::binary | std::ios::trunc).flush();
    ASSERT_TRUE(w.load(path)); // no line: nothing changes
    EXPECT_EQ(w, busy());

    const auto unnamed = dir / "DATA" / "未命名.SCH";
    EXPECT_TRUE(busy().save(unnamed));
    EXPECT_FALSE(std::filesystem::exists(unnamed));

    const auto folder = dir / "folder.SCH";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(w.load(folder));
    EXPECT_FALSE(w.save(folder));
}

} // namespace
} // namespace led
