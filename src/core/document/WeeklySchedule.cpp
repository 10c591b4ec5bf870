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
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        // A project without a schedule has none: no row stays in use from the last one.
        rows.fill(ScheduleRow{});
        return {};
    }
    std::string error;
    auto bytes = readFileBytes(path, &error);
    if (!bytes)
        return FileResult::failure(error);
    readScheduleImage(*bytes, *this);
    return {};
}

FileResult WeeklySchedule::save(const fs::path& path) const
{
    if (path.stem().string() == texts::UnnamedProject)
        return {};
    if (path.has_parent_path())
        if (auto made = ensureFolder(path.parent_path()); !made)
            return made;
    return writeFileAtomic(path, writeScheduleImage(*this));
}

} // namespace led
