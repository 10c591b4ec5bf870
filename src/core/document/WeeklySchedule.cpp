#include "core/document/WeeklySchedule.h"

#include "core/document/Project.h"
#include "core/document/ScheduleFile.h"

#include <algorithm>

namespace led {

namespace fs = std::filesystem;

void ScheduleRow::setMode(int newMode)
{
    mode = newMode == 1 ? 1 : 0;
    first = last = mode == 1 ? 0 : 1;
}

void ScheduleRow::setFirst(int screen)
{
    first = std::clamp(screen, 0, ScheduleScreenMax);
    if (first > last)
        last = first;
}

bool ScheduleRow::leaveLast()
{
    if (last >= first)
        return true;
    last = first;
    return false;
}

FileResult WeeklySchedule::load(const fs::path& path)
{
    std::optional<Bytes> bytes;
    FileResult r = readFileIfExists(path, bytes);
    if (bytes)
        readScheduleImage(*bytes, *this);
    else if (r)
        rows.fill(ScheduleRow{}); // no schedule file: no row stays in use from the last project
    return r;
}

FileResult WeeklySchedule::save(const fs::path& path) const
{
    if (path.stem().string() == texts::UnnamedProject)
        return {};
    return writeFileCreatingFolder(path, writeScheduleImage(*this));
}

} // namespace led
