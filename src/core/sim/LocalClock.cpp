#include "core/sim/LocalClock.h"

namespace led::sim {

long long daysFromCivil(int year, int month, int day)
{
    // Howard Hinnant's days_from_civil: exact for every Gregorian date.
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

namespace {

void civilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

LocalTime addSeconds(const LocalTime& t, long long seconds)
{
    const long long total = daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600LL +
                            t.minute * 60LL + t.second + seconds;
    const long long days = floorDiv(total, 86400);
    const long long rest = total - days * 86400;
    LocalTime out;
    civilFromDays(days, out.year, out.month, out.day);
    out.hour = static_cast<int>(rest / 3600);
    out.minute = static_cast<int>(rest / 60 % 60);
    out.second = static_cast<int>(rest % 60);
    // 1970-01-01 was a Thursday.
    out.weekday = static_cast<int>(floorDiv(days + 4, 7) * -7 + days + 4);
    return out;
}

} // namespace led::sim
