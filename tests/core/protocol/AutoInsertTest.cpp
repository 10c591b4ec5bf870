#include "core/protocol/AutoInsert.h"

#include <gtest/gtest.h>

namespace led {
namespace {

// What a run of ticks sent, and on which ticks.
struct Ticks
{
    std::vector<int> ticks; // tick numbers (from 1) on which something was due
    std::vector<AutoInsertDue> sent;
};

Ticks runTicks(AutoInsert& a, int count)
{
    Ticks run;
    for (int t = 1; t <= count; ++t) {
        const auto due = a.tick();
        if (!due.empty())
            run.ticks.push_back(t);
        run.sent.insert(run.sent.end(), due.begin(), due.end());
    }
    return run;
}

TEST(AutoInsert, OneRowEverySixtyOneTicksWithSlotsRunningRound)
{
    AutoInsert a;
    a.start();
    a.setIntervalMinutes(1);
    a.toggle(4);
    const Ticks run = runTicks(a, 61 * 11);
    ASSERT_EQ(run.sent.size(), 11u);
    for (std::size_t k = 0; k < run.sent.size(); ++k) {
        EXPECT_EQ(run.ticks[k], 61 * static_cast<int>(k + 1));
        EXPECT_EQ(run.sent[k], (AutoInsertDue{4, static_cast<std::uint8_t>(k % 10)}));
    }
    EXPECT_EQ(a.counter(4), 0);
}

TEST(AutoInsert, RowsDueTogetherGoTopDownWithConsecutiveSlots)
{
    AutoInsert a;
    a.start();
    a.setIntervalMinutes(1);
    a.toggle(0);
    runTicks(a, 61 * 3); // slots 0, 1, 2 used
    a.toggle(7);
    a.toggle(2);
    a.stop(0);
    a.toggle(0);
    const auto due = runTicks(a, 61).sent;
    EXPECT_EQ(due, (std::vector<AutoInsertDue>{{0, 3}, {2, 4}, {7, 5}}));
}

TEST(AutoInsert, StopAndToggle)
{
    AutoInsert a;
    a.start();
    a.setIntervalMinutes(1);
    a.toggle(1);
    runTicks(a, 30);
    a.toggle(1); // off: the counter keeps 30 and stands still
    EXPECT_TRUE(runTicks(a, 100).sent.empty());
    EXPECT_EQ(a.counter(1), 30);
    a.toggle(1);
    EXPECT_EQ(runTicks(a, 31).ticks, std::vector<int>{31});

    runTicks(a, 20);
    a.stop(1); // the "秒數" cell: off and back to 0
    EXPECT_FALSE(a.isOn(1));
    EXPECT_EQ(a.counter(1), 0);
    a.toggle(1);
    EXPECT_EQ(runTicks(a, 61).ticks, std::vector<int>{61});
}

TEST(AutoInsert, ReopeningStartsAllOffAtSlotZero)
{
    AutoInsert a;
    a.start();
    a.setIntervalMinutes(1);
    a.toggle(0);
    a.toggle(99); // the hidden last row counts as well
    EXPECT_EQ(runTicks(a, 61).sent.size(), 2u);
    a.switchAllOff();
    EXPECT_TRUE(runTicks(a, 200).sent.empty());
    a.start();
    EXPECT_EQ(a.slot(), 0);
    EXPECT_FALSE(a.isOn(0));
    EXPECT_FALSE(a.isOn(99));
    EXPECT_EQ(a.counter(0), 0);
}

TEST(AutoInsert, IntervalAndRowBounds)
{
    AutoInsert a;
    EXPECT_EQ(a.intervalMinutes(), 20);
    EXPECT_EQ(a.intervalSeconds(), 1200);
    a.setIntervalMinutes(0);
    EXPECT_EQ(a.intervalMinutes(), 1);
    a.setIntervalMinutes(61);
    EXPECT_EQ(a.intervalMinutes(), 60);
    a.toggle(-1);
    a.toggle(100);
    a.stop(100);
    EXPECT_FALSE(a.isOn(100));
    EXPECT_EQ(a.counter(-1), 0);

    // Shortening the interval lets a row that is past it go out on the next tick.
    a.setIntervalMinutes(2);
    a.toggle(5);
    runTicks(a, 100);
    a.setIntervalMinutes(1);
    EXPECT_EQ(runTicks(a, 1).sent.size(), 1u);
}

} // namespace
} // namespace led
