#pragma once

#include "core/sim/RunPlan.h"

#include <functional>
#include <vector>

namespace led::sim {

// One played step: where it belongs, when it started on the virtual clock, how long it waits.
struct TimelineEntry
{
    SegmentKind kind = SegmentKind::Clear;
    int screen = 0;
    int code = -1;
    long long startUs = 0;
    int delayMs = 0;
    WaitKind wait = WaitKind::Pause;
};

// Plays planned steps on the surfaces against a virtual clock in microseconds: each step
// draws, its picture is handed to the sink, then the clock advances by its delay.
class Player
{
public:
    using FrameSink = std::function<void(const Picture& display, const TimelineEntry& entry)>;

    explicit Player(Surfaces& surfaces, FrameSink sink = {});

    void play(const Segment& segment);
    void play(const Pass& pass);

    long long nowUs() const { return m_nowUs; }
    const std::vector<TimelineEntry>& timeline() const { return m_timeline; }
    void clearTimeline() { m_timeline.clear(); }
    // Off for endless runs, where only the sink matters.
    void setKeepTimeline(bool keep) { m_keepTimeline = keep; }

private:
    Surfaces& m_surfaces;
    FrameSink m_sink;
    long long m_nowUs = 0;
    bool m_keepTimeline = true;
    std::vector<TimelineEntry> m_timeline;
};

} // namespace led::sim
