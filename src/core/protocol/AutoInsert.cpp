#include "core/protocol/AutoInsert.h"

#include <algorithm>

namespace led {

void AutoInsert::start()
{
    m_on.fill(false);
    m_counter.fill(0);
    m_slot = 0;
}

void AutoInsert::toggle(int row)
{
    if (valid(row))
        m_on[row] = !m_on[row];
}

void AutoInsert::stop(int row)
{
    if (!valid(row))
        return;
    m_on[row] = false;
    m_counter[row] = 0;
}

void AutoInsert::setIntervalMinutes(int minutes)
{
    m_minutes = std::clamp(minutes, IntervalMinutesMin, IntervalMinutesMax);
}

bool AutoInsert::isOn(int row) const
{
    return valid(row) && m_on[row];
}

int AutoInsert::counter(int row) const
{
    return valid(row) ? m_counter[row] : 0;
}

std::vector<AutoInsertDue> AutoInsert::tick()
{
    std::vector<AutoInsertDue> due;
    for (int row = 0; row < AutoRowCount; ++row) {
        if (!m_on[row])
            continue;
        if (++m_counter[row] <= intervalSeconds())
            continue;
        due.push_back({row, m_slot});
        m_slot = static_cast<std::uint8_t>((m_slot + 1) % AutoSlotCount);
        m_counter[row] = 0;
    }
    return due;
}

} // namespace led
