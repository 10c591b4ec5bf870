#pragma once

#include "core/document/FileIO.h"
#include "core/text/Big5.h"

#include <array>
#include <filesystem>

namespace led {

inline constexpr int ScheduleRowCount = 9;
inline constexpr int ScheduleScreenMax = 254;

// Items of the day and mode lists (UTF-8), by index.
inline constexpr std::array<const char*, 8> ScheduleDayNames = {
    "每天", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
inline constexpr std::array<const char*, 2> ScheduleModeNames = {"顯示", "關閉"};

// One timer line of the schedule window.
struct ScheduleRow
{
    bool inUse = false;
    int day = 0;           // index into ScheduleDayNames
    Bytes time = "000000"; // HHMMSS as the time field holds it
    int mode = 0;          // 0 show, 1 switch off
    int first = 1;         // screens 0–254; 0 to 0 switches the display off
    int last = 1;

    bool screensEnabled() const { return mode == 0; }
    // "關閉" sets both screens to 0, "顯示" both to 1.
    void setMode(int newMode);
    // A first screen past the last one takes the last one along.
    void setFirst(int screen);
    // Leaving the last screen: false (and the last set to the first) when it lay below it.
    bool leaveLast();

    bool operator==(const ScheduleRow&) const = default;
};

// The nine timer lines kept in the project's schedule file (.SCH).
struct WeeklySchedule
{
    std::array<ScheduleRow, ScheduleRowCount> rows{};

    // A missing file puts every row back to its defaults; a file without any line
    // changes nothing; rows beyond the file's last line get their defaults.
    FileResult load(const std::filesystem::path& path);
    // Nothing is written for the unnamed project.
    FileResult save(const std::filesystem::path& path) const;

    bool operator==(const WeeklySchedule&) const = default;
};

} // namespace led
