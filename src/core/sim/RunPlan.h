#pragma once

#include "core/document/Document.h"
#include "core/document/GlyphTable.h"
#include "core/sim/Dispatch.h"

#include <map>
#include <memory>
#include <vector>

namespace led::sim {

struct RunSettings
{
    int from = 1; // the range, in either order; bounded to 1..254
    int to = 1;
    int maxLength = 20; // bytes a row holds: twice the sign width
    int colorSet = 2;
    LocalTime start; // the clock when the run starts
};

enum class SegmentKind
{
    Clear,     // the display is blackened at the start of a pass
    EmptyWait, // the extra second before an empty screen
    Entry,
    Stay,
    Exit,
    Stop // "停止" took effect: the work surfaces are blackened and the run ends
};

// One part of a pass: what it is, for which screen, the effect code run, its steps.
struct Segment
{
    SegmentKind kind = SegmentKind::Clear;
    int screen = 0;
    int code = -1;
    StepList steps;
};

struct Pass
{
    std::vector<Segment> segments;
    bool stopped = false;
};

// The run over a range of screens as data, one pass at a time. The live displays see the
// start time advanced by the nominal duration of everything planned before them.
class RunPlan
{
public:
    static constexpr int Speed = 6; // the simulator always plays at this level
    static constexpr int EmptyTextWaitMs = 1000;

    RunPlan(const Document& doc, const GlyphTable& glyphs, RunSettings settings,
            RandomSource random, EffectTable table = standardRoutine);

    int first() const { return m_first; }
    int last() const { return m_last; }
    Pass nextPass();
    bool stopped() const { return m_stopped; }
    long long plannedMs() const { return m_plannedMs; }

    // The row image of screen n as the editor shows it on n's page.
    std::shared_ptr<const Picture> rowImage(int n);

private:
    EffectContext context(int n, int split, int splitStart);
    void add(Pass& pass, Segment segment);

    const Document& m_doc;
    const GlyphTable& m_glyphs;
    RunSettings m_settings;
    RandomSource m_random;
    EffectTable m_table;
    int m_first = 1;
    int m_last = 1;
    bool m_stopped = false;
    long long m_plannedMs = 0;
    std::map<int, std::shared_ptr<const Picture>> m_rowImages;
};

} // namespace led::sim
