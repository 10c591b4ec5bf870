#include "cli/Output.h"

#include "core/document/FileIO.h"
#include "core/protocol/Frames.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace led::cli {

int emitTransmissions(const std::vector<Bytes>& transmissions,
                      const std::optional<std::string>& outFile, std::ostream& out,
                      std::ostream& err)
{
    if (outFile) {
        Bytes all;
        for (const auto& t : transmissions)
            all += t;
        if (auto r = writeFileAtomic(*outFile, all); !r) {
            err << "無法寫入檔案: " << r.error << "\n";
            return 1;
        }
        return 0;
    }
    for (const auto& t : transmissions)
        out << hexDump(t) << "\n";
    return 0;
}

namespace {

int weekdayOf(int y, int m, int d)
{
    using namespace std::chrono;
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)},
                              day{static_cast<unsigned>(d)}};
    return static_cast<int>(weekday{sys_days{date}}.c_encoding());
}

} // namespace

std::optional<CivilTime> parseCivilTime(const std::string& text)
{
    CivilTime t{};
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                    &t.minute, &t.second, &tail) != 6)
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)},
                              day{static_cast<unsigned>(t.day)}};
    if (!date.ok() || t.hour > 23 || t.minute > 59 || t.second > 59 || t.hour < 0 || t.minute < 0 ||
        t.second < 0)
        return std::nullopt;
    t.weekday = weekdayOf(t.year, t.month, t.day);
    return t;
}

CivilTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     tm.tm_wday};
}

} // namespace led::cli
