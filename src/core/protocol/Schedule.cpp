#include "core/protocol/Schedule.h"

#include "core/protocol/Frames.h"

#include <algorithm>

namespace led {
namespace {

constexpr std::uint8_t UnusedDay = 8;
constexpr std::uint8_t UnusedWeekday = 7;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitAt(std::string_view text, std::size_t i)
{
    return i < text.size() && isDigit(text[i]) ? text[i] - '0' : 0;
}

// "每天" is 8 to the sign, Monday–Saturday 1–6 and Sunday 0.
std::uint8_t weekdayCode(int day)
{
    if (day == 0)
        return 8;
    return day == 7 ? 0 : static_cast<std::uint8_t>(day);
}

void putScreen(Bytes& out, int screen)
{
    out += static_cast<char>(screen / 100);
    out += static_cast<char>(screen / 10 % 10);
    out += static_cast<char>(screen % 10);
}

// HH:MM:SS for the message; anything not printable shows as the mask's blank.
std::string shownTime(std::string_view time)
{
    std::string out;
    for (std::size_t i = 0; i < time.size(); ++i) {
        if (i == 2 || i == 4)
            out += ':';
        const char c = time[i];
        out += c >= 0x20 && c < 0x7F ? c : '_';
    }
    return out;
}

} // namespace

bool CheckTime(std::string_view time)
{
    if (time.size() != 6 || !std::all_of(time.begin(), time.end(), isDigit))
        return false;
    const int hour = digitAt(time, 0) * 10 + digitAt(time, 1);
    const int minute = digitAt(time, 2) * 10 + digitAt(time, 3);
    const int second = digitAt(time, 4) * 10 + digitAt(time, 5);
    return hour <= 23 && minute <= 59 && second <= 59;
}

std::optional<Bytes> scheduleRowBytes(const ScheduleRow& row)
{
    if (row.inUse && !CheckTime(row.time))
        return std::nullopt;
    const int day = std::clamp(row.day, 0, 7);
    const int first = std::clamp(row.first, 0, ScheduleScreenMax);
    const int last = std::clamp(row.last, 0, ScheduleScreenMax);
    const std::string_view time = row.time;

    Bytes out;
    out.reserve(ScheduleRowSize);
    out += static_cast<char>(row.inUse ? day : UnusedDay);
    for (std::size_t i = 0; i < 4; ++i)
        out += static_cast<char>(digitAt(time, i));
    putScreen(out, first);
    putScreen(out, last);
    out += static_cast<char>(row.inUse ? weekdayCode(day) : UnusedWeekday);
    out += static_cast<char>(digitAt(time, 0) * 10 + digitAt(time, 1));
    out += static_cast<char>(digitAt(time, 2) * 10 + digitAt(time, 3));
    out += static_cast<char>(first);
    out += static_cast<char>(last);
    return out;
}

ScheduleSend scheduleTransmission(TSystemparameter& s, const WeeklySchedule& schedule, bool timerOn,
                                  UnitSelection* dialog)
{
    ScheduleSend result;
    Bytes table;
    table.reserve(ScheduleRowCount * ScheduleRowSize);
    for (int n = 0; n < ScheduleRowCount; ++n) {
        const ScheduleRow& row = schedule.rows[n];
        auto bytes = scheduleRowBytes(row);
        if (!bytes) {
            result.badRow = n + 1;
            result.error = std::string(texts::BadTime) + "\n定時" + std::to_string(n + 1) + ": " +
                           shownTime(row.time);
            return result;
        }
        table += *bytes;
    }

    const Bytes header = addressHeader(s, dialog);
    const Bytes timer = timerOn ? Bytes("\x01\x01", 2) : Bytes("\x00\x00", 2);
    Bytes second = header + commandFrame(CmdSchedule, table);
    const char check = static_cast<char>(xorSum(second));
    result.bytes = header + closedFrame(CmdTimerSwitch, timer) + second + check + endFrame();
    return result;
}

} // namespace led
