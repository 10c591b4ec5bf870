#pragma once

#include "core/document/WeeklySchedule.h"

#include <string_view>

namespace led {

// Fills the rows from a .SCH image, row n from line n, and returns the number of rows
// read. With no line nothing changes; rows without a line get their defaults. Fields that
// do not parse get their defaults too.
int readScheduleImage(std::string_view bytes, WeeklySchedule& schedule);

// Nine lines, each ended by CR LF: "定時", row number, use flag, day, HHMMSS, mode, first
// and last screen, separated by blanks.
Bytes writeScheduleImage(const WeeklySchedule& schedule);

} // namespace led
