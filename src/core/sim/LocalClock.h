#pragma once

#include "core/sim/SimTypes.h"

namespace led::sim {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long daysFromCivil(int year, int month, int day);
// The clock reading a number of seconds later (or earlier); the weekday follows the date.
LocalTime addSeconds(const LocalTime& t, long long seconds);

} // namespace led::sim
