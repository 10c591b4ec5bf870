#include "core/document/ScheduleFile.h"

#include "core/document/TextLines.h"
#include "core/text/Cp950.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace led {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char at(std::string_view line, std::size_t position)
{
    return position <= line.size() ? line[position - 1] : '\0';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::optional<int> parseScreen(std::string_view s)
{
    s = trimmed(s);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || end != s.data() + s.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return s.front() == '-' ? 0 : ScheduleScreenMax;
    if (ec != std::errc{})
        return std::nullopt;
    return std::clamp(value, 0, ScheduleScreenMax);
}

ScheduleRow parseRow(std::string_view line)
{
    ScheduleRow row;
    row.inUse = at(line, 7) == '1';
    if (const char d = at(line, 9); d >= '0' && d <= '7')
        row.day = d - '0';
    if (line.size() >= 16) {
        const std::string_view time = line.substr(10, 6);
        if (std::all_of(time.begin(), time.end(), isDigit))
            row.time = Bytes(time);
    }
    row.mode = at(line, 18) == '1' ? 1 : 0;
    if (line.size() >= 20) {
        const std::string_view screens = line.substr(19);
        const std::size_t blank = screens.find(' ');
        if (auto first = parseScreen(screens.substr(0, blank)))
            row.first = *first;
        if (blank != std::string_view::npos)
            if (auto last = parseScreen(screens.substr(blank + 1)))
                row.last = *last;
    }
    return row;
}

// The positions of the later fields hang on the time taking exactly six characters.
Bytes timeField(std::string_view time)
{
    Bytes out(6, '0');
    for (std::size_t i = 0; i < out.size() && i < time.size(); ++i)
        if (isDigit(time[i]))
            out[i] = time[i];
    return out;
}

} // namespace

int readScheduleImage(std::string_view bytes, WeeklySchedule& schedule)
{
    const auto lines = splitTextLines(bytes);
    if (lines.empty())
        return 0;
    const int rows = static_cast<int>(std::min<std::size_t>(lines.size(), ScheduleRowCount));
    for (int n = 0; n < ScheduleRowCount; ++n)
        schedule.rows[n] = n < rows ? parseRow(lines[n]) : ScheduleRow{};
    return rows;
}

Bytes writeScheduleImage(const WeeklySchedule& schedule)
{
    static const Bytes label = big5("定時");
    Bytes out;
    for (int n = 0; n < ScheduleRowCount; ++n) {
        const ScheduleRow& row = schedule.rows[n];
        out += label;
        out += static_cast<char>('1' + n);
        out += ' ';
        out += row.inUse ? '1' : '0';
        out += ' ';
        out += static_cast<char>('0' + std::clamp(row.day, 0, 7));
        out += ' ';
        out += timeField(row.time);
        out += ' ';
        out += row.mode == 1 ? '1' : '0';
        out += ' ';
        out += std::to_string(std::clamp(row.first, 0, ScheduleScreenMax));
        out += ' ';
        out += std::to_string(std::clamp(row.last, 0, ScheduleScreenMax));
        out += "\r\n";
    }
    return out;
}

} // namespace led
