#include "core/sim/RunPlan.h"

#include "core/render/LineImage.h"
#include "core/sim/LocalClock.h"
#include "core/sim/RunRules.h"

#include <algorithm>
#include <climits>

namespace led::sim {
namespace {

Step waitStep(int delayMs, WaitKind wait)
{
    Step step;
    step.delayMs = delayMs;
    step.wait = wait;
    return step;
}

Step drawStep(std::function<void(Surfaces&)> draw)
{
    Step step;
    step.draw = std::move(draw);
    return step;
}

bool requestsStop(const StepList& steps)
{
    return std::any_of(steps.begin(), steps.end(),
                       [](const Step& s) { return s.flag == StepFlag::RequestStop; });
}

int boundedScreen(int n)
{
    return std::clamp(n, 1, ScreenCount);
}

// A stored stay time is seconds; a negative or huge one must not wrap the millisecond count.
int stayMs(std::int32_t stay)
{
    return std::clamp<std::int32_t>(stay, 0, INT_MAX / 1000) * 1000;
}

} // namespace

RunPlan::RunPlan(const Document& doc, const GlyphTable& glyphs, RunSettings settings,
                 RandomSource random, EffectTable table)
    : m_doc(doc), m_glyphs(glyphs), m_settings(settings), m_random(std::move(random)),
      m_table(std::move(table))
{
    m_first = boundedScreen(std::min(settings.from, settings.to));
    m_last = boundedScreen(std::max(settings.from, settings.to));
}

std::shared_ptr<const Picture> RunPlan::rowImage(int n)
{
    auto& image = m_rowImages[n];
    if (!image) {
        const TContect& content = m_doc.content(n);
        image = std::make_shared<const Picture>(
            Redraw(RowView{content.text, content.attr}, m_settings.maxLength, m_glyphs));
    }
    return image;
}

EffectContext RunPlan::context(int n, int split, int splitStart)
{
    EffectContext c;
    c.screen = n;
    c.text = m_doc.content(n).text;
    c.attr = m_doc.content(n).attr;
    c.split = split;
    c.speed = Speed;
    c.rowImage = rowImage(n);
    c.splitStart = splitStart;
    // The split's left part is redrawn from the screen that began it, even after a page turn.
    c.splitStartImage = splitStart != 0 ? rowImage(splitStart) : nullptr;
    c.colorSet = m_settings.colorSet;
    c.ownExitContinues = m_doc.screen(n).rear == ContinueExitCode;
    c.random = m_random;
    c.time = addSeconds(m_settings.start, m_plannedMs / 1000);
    return c;
}

void RunPlan::add(Pass& pass, Segment segment)
{
    for (const Step& step : segment.steps)
        m_plannedMs += step.delayMs;
    pass.segments.push_back(std::move(segment));
}

Pass RunPlan::nextPass()
{
    Pass pass;
    if (m_stopped)
        return pass;
    add(pass,
        {SegmentKind::Clear, 0, -1, {drawStep([](Surfaces& s) { s.display.fill(RgbBlack); })}});

    int splitStart = 0;
    bool splitOpen = false;
    for (int n = m_first; n <= m_last; ++n) {
        const TScreenRec& rec = m_doc.screen(n);
        if (rec.split == SplitRelease) {
            splitStart = 0;
            splitOpen = false;
        }
        if (rec.split != SplitContinue && rec.split != SplitRelease && !splitOpen) {
            splitStart = n;
            splitOpen = true;
        }

        if (m_doc.content(n).text.empty())
            add(pass, {SegmentKind::EmptyWait, n, -1, {waitStep(EmptyTextWaitMs, WaitKind::Busy)}});

        EffectRun entry = RunEntryEffect(context(n, entrySplit(m_doc, m_first, n), splitStart),
                                         rec.front, m_table);
        const bool stopOnEntry = requestsStop(entry.steps);
        add(pass, {SegmentKind::Entry, n, entry.code, std::move(entry.steps)});

        add(pass, {SegmentKind::Stay, n, -1, {waitStep(stayMs(rec.stay), WaitKind::Pause)}});

        EffectRun exit =
            RunExitEffect(context(n, exitSplit(m_doc, m_first, n), splitStart), rec.rear, m_table);
        const bool stop = stopOnEntry || requestsStop(exit.steps);
        add(pass, {SegmentKind::Exit, n, exit.code, std::move(exit.steps)});

        if (stop) {
            add(pass, {SegmentKind::Stop, n, -1, {drawStep([](Surfaces& s) {
                           s.previous.fill(RgbBlack);
                           s.blackSurface.fill(RgbBlack);
                           s.blackImage.fill(RgbBlack);
                       })}});
            m_stopped = true;
            pass.stopped = true;
            break;
        }
    }
    return pass;
}

} // namespace led::sim
