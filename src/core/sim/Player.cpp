#include "core/sim/Player.h"

#include <algorithm>

namespace led::sim {

Player::Player(Surfaces& surfaces, FrameSink sink) : m_surfaces(surfaces), m_sink(std::move(sink))
{}

void Player::play(const Segment& segment)
{
    for (const Step& step : segment.steps) {
        if (step.draw)
            step.draw(m_surfaces);
        // A negative delay cannot turn the clock back.
        const int delay = std::max(step.delayMs, 0);
        const TimelineEntry entry{segment.kind, segment.screen, segment.code,
                                  m_nowUs,      delay,          step.wait};
        if (m_sink)
            m_sink(m_surfaces.display, entry);
        if (m_keepTimeline)
            m_timeline.push_back(entry);
        m_nowUs += 1000LL * delay;
    }
}

void Player::play(const Pass& pass)
{
    for (const Segment& segment : pass.segments)
        play(segment);
}

} // namespace led::sim
