#pragma once

#include "core/document/InsertBook.h"

#include <array>
#include <cstdint>
#include <vector>

namespace led {

inline constexpr int AutoSlotCount = 10;
inline constexpr int IntervalMinutesMin = 1;
inline constexpr int IntervalMinutesMax = 60;
inline constexpr int IntervalMinutesDefault = 20;

struct AutoInsertDue
{
    int row = 0;           // 0–99
    std::uint8_t slot = 0; // 0–9, the insert slot to send it in

    bool operator==(const AutoInsertDue&) const = default;
};

// The timing of the automatic insert table, driven by the insert window's one-second
// tick. Rows are numbered 0–99 from the top; other numbers are ignored.
class AutoInsert
{
public:
    // Showing the window: every row off with its counter at 0, slots from 0 again.
    void start();
    // Closing the window: nothing more is sent until it is shown again.
    void switchAllOff() { m_on.fill(false); }

    // The row's "啟動/關閉" button; the counter keeps its value.
    void toggle(int row);
    // A click on the row's "秒數" cell.
    void stop(int row);

    void setIntervalMinutes(int minutes); // kept within 1–60
    int intervalMinutes() const { return m_minutes; }
    int intervalSeconds() const { return m_minutes * 60; }

    bool isOn(int row) const;
    int counter(int row) const;
    std::uint8_t slot() const { return m_slot; }

    // One second has passed: the rows that fall due, top to bottom, each with its own slot.
    // A row is due on the tick its counter passes the interval, then starts again from 0.
    std::vector<AutoInsertDue> tick();

private:
    static bool valid(int row) { return row >= 0 && row < AutoRowCount; }

    std::array<bool, AutoRowCount> m_on{};
    std::array<int, AutoRowCount> m_counter{};
    int m_minutes = IntervalMinutesDefault;
    std::uint8_t m_slot = 0;
};

} // namespace led
