// Sliding, rolling and covering effects: whole pictures moved by rectangle copies.
#include "core/sim/Effects.h"

#include <algorithm>
#include <utility>

namespace led::sim {
namespace {

constexpr int MoveLeftDelayMs = 40;
constexpr int CoverRowDelayMs = 70;
constexpr int CoverUpDownDelayMs = 100;
constexpr int RollOutDelayMs = 50;

// Where a routine draws: the row image's size at the vertical offset, right of x0.
struct Area
{
    int W = 0;
    int H = 0;
    int y = 0;
    int x0 = 0;
};

// The routines take the line's size from the row image; without one there is nothing to show.
Area areaOf(const EffectContext& c)
{
    Area a;
    a.W = c.rowImage->width();
    a.H = c.rowImage->height();
    a.y = c.y;
    a.x0 = c.x0();
    return a;
}

bool isEntry(const EffectContext& c)
{
    return c.direction == 1;
}

// Speed levels of 10 and above would give negative delays; such a step just does not wait.
int nonNegative(int ms)
{
    return std::max(ms, 0);
}

// The incoming picture: the screen's row image on entry, black on exit. Resolved when the
// step is played, because the black surface belongs to the surfaces played on.
struct Incoming
{
    std::shared_ptr<const Picture> image;

    const Picture& of(const Surfaces& s) const { return image ? *image : s.blackSurface; }
};

Incoming incomingOf(const EffectContext& c)
{
    return Incoming{isEntry(c) ? c.rowImage : nullptr};
}

// Copies source(sx, sy, w × h) to (dx, dy) of the display. Clipped to the routine's area
// too: overshooting copies leave nothing beside or below the line, nor left of the boundary.
void put(Surfaces& s, const Area& a, const Picture& source, int sx, int sy, int w, int h, int dx,
         int dy)
{
    if (dx < a.x0) {
        w -= a.x0 - dx;
        sx += a.x0 - dx;
        dx = a.x0;
    }
    if (dy < a.y) {
        h -= a.y - dy;
        sy += a.y - dy;
        dy = a.y;
    }
    w = std::min(w, a.W - dx);
    h = std::min(h, a.y + a.H - dy);
    if (w > 0 && h > 0)
        s.display.copyFrom(source, sx, sy, w, h, dx, dy);
}

void blacken(Surfaces& s, const Area& a, int x, int w)
{
    const int from = std::max(x, a.x0);
    const int to = std::min(x + w, a.W);
    if (to > from)
        s.display.fillRect(from, a.y, to - from, a.H, RgbBlack);
}

template <typename Draw> void addStep(StepList& steps, int delayMs, Draw&& draw)
{
    Step step;
    step.draw = std::forward<Draw>(draw);
    step.delayMs = delayMs;
    steps.push_back(std::move(step));
}

// The entry copies shared by "向內捲入" and "覆蓋向內": both halves close in toward the middle.
void closeInHalves(Surfaces& s, const Area& a, const Picture& in, int half, int k)
{
    put(s, a, in, a.x0 + half - 1 - k, 0, k + 1, a.H, a.x0, a.y);
    put(s, a, in, a.x0 + half, 0, k + 1, a.H, a.W - 1 - k, a.y);
}

} // namespace

StepList EffectMoveLeft(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    if (!isEntry(c)) {
        for (int k = a.x0; k < a.W; ++k)
            addStep(steps, MoveLeftDelayMs, [a, k](Surfaces& s) {
                put(s, a, s.previous, k, 0, a.W - 1 - k, a.H, a.x0, a.y);
                // Black follows the picture out; left alone, the column next to the strip
                // would be smeared across the panel.
                blacken(s, a, a.x0 + a.W - 1 - k, k + 1 - a.x0);
            });
    } else {
        // A screen that is followed without an exit crawls on, pushing the old one out.
        const bool crawl = c.screen != 1 && c.ownExitContinues;
        for (int k = a.x0; k < a.W; ++k)
            addStep(steps, MoveLeftDelayMs, [a, in, k, crawl](Surfaces& s) {
                put(s, a, in.of(s), 0, 0, k + 1, a.H, a.W - 1 - k + a.x0, a.y);
                if (crawl)
                    put(s, a, s.previous, k, 0, a.W - 1 - k, a.H, a.x0, a.y);
            });
        // With a split the picture slides on until its own column x0 stands at the boundary.
        for (int j = 1; j <= a.x0; ++j)
            addStep(steps, MoveLeftDelayMs, [a, in, j](Surfaces& s) {
                put(s, a, in.of(s), j, 0, a.W - a.x0, a.H, a.x0, a.y);
            });
    }
    if (!steps.empty()) {
        const bool live = c.liveContent;
        steps.front().draw = [a, live, first = std::move(steps.front().draw)](Surfaces& s) {
            // After a live display the outgoing picture is what it showed last.
            if (live)
                s.previous.copyFrom(s.display, 0, a.y, a.W, a.H, 0, 0);
            s.blackImage.fill(RgbBlack);
            first(s);
        };
    }
    return steps;
}

StepList EffectSweepRight(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    Area a = areaOf(c);
    a.x0 = 0; // the sweep ignores the split
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int x = 0; x <= a.W; ++x)
        addStep(steps, nonNegative(delayA(c.speed)),
                [a, in, x](Surfaces& s) { put(s, a, in.of(s), x, 0, 1, a.H, x, a.y); });
    return steps;
}

StepList EffectRollIn(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int h = (a.W - a.x0) / 2;
    StepList steps;
    for (int k = 0; k <= h; ++k) {
        if (isEntry(c)) {
            // The halves meet after h steps; one step further would shift each by a column,
            // so the last step shows the finished picture again.
            const int at = h > 0 ? std::min(k, h - 1) : k;
            addStep(steps, nonNegative(delayA(c.speed)),
                    [a, in, h, at](Surfaces& s) { closeInHalves(s, a, in.of(s), h, at); });
        } else {
            addStep(steps, nonNegative(delayA(c.speed)), [a, in, h, k](Surfaces& s) {
                const Picture& black = in.of(s);
                put(s, a, black, h - 1 - k, 0, k + 1, a.H, a.x0, a.y);
                put(s, a, s.previous, a.x0, 0, h - 1 - k, a.H, a.x0 + k + 1, a.y);
                put(s, a, black, h, 0, k + 1, a.H, a.W - 1 - k, a.y);
                put(s, a, s.previous, a.x0 + h + k, 0, h - 1 - k, a.H, a.x0 + h, a.y);
            });
        }
    }
    return steps;
}

StepList EffectCoverLeft(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int j = 0; j < a.W - a.x0; ++j)
        addStep(steps, nonNegative(delayA(c.speed)), [a, in, x = a.W - 1 - j](Surfaces& s) {
            put(s, a, in.of(s), x, 0, 1, a.H, x, a.y);
        });
    return steps;
}

StepList EffectCoverRight(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int x = a.x0; x < a.W; ++x)
        addStep(steps, nonNegative(delayA(c.speed)),
                [a, in, x](Surfaces& s) { put(s, a, in.of(s), x, 0, 1, a.H, x, a.y); });
    return steps;
}

StepList EffectCoverUp(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int j = 1; j <= a.H; ++j)
        addStep(steps, CoverRowDelayMs, [a, in, j](Surfaces& s) {
            put(s, a, in.of(s), a.x0, a.H - j, a.W, j, a.x0, a.y + a.H - j);
        });
    return steps;
}

StepList EffectCoverDown(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int r = 1; r <= a.H; ++r)
        addStep(steps, CoverRowDelayMs,
                [a, in, r](Surfaces& s) { put(s, a, in.of(s), a.x0, 0, a.W, r, a.x0, a.y); });
    return steps;
}

StepList EffectCoverIn(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int g = (a.W - a.x0) / 2;
    StepList steps;
    for (int k = 0; k < g; ++k) {
        if (isEntry(c))
            addStep(steps, nonNegative(delayA(c.speed)),
                    [a, in, g, k](Surfaces& s) { closeInHalves(s, a, in.of(s), g, k); });
        else
            addStep(steps, nonNegative(delayA(c.speed)), [a, in, k](Surfaces& s) {
                put(s, a, in.of(s), 0, 0, k + 1, a.H, a.x0, a.y);
                put(s, a, in.of(s), 0, 0, k + 1, a.H, a.W - 1 - k, a.y);
            });
    }
    return steps;
}

StepList EffectCoverOut(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int centre = (a.W - a.x0) / 2 + 1;
    StepList steps;
    for (int k = 0; k <= centre; ++k)
        addStep(steps, nonNegative(delayB(c.speed)), [a, in, centre, k](Surfaces& s) {
            // Each column is taken from the same place of the incoming picture.
            for (const int x : {a.x0 + centre - k, a.x0 + centre + k})
                put(s, a, in.of(s), x, 0, 1, a.H, x, a.y);
        });
    return steps;
}

StepList EffectCoverUpDown(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int m = a.H / 2;
    StepList steps;
    for (int r = 1; r <= m; ++r)
        addStep(steps, CoverUpDownDelayMs, [a, in, m, r](Surfaces& s) {
            const Picture& from = in.of(s);
            put(s, a, from, a.x0, m - r, a.W, 1, a.x0, a.y + m - r);
            put(s, a, from, a.x0, m - 1 + r, a.W, 1, a.x0, a.y + m - 1 + r);
            // With an odd height the bottom row lies beyond the spread; the last step covers
            // it so that no row of the old picture is left standing.
            if (r == m && a.H % 2 != 0)
                put(s, a, from, a.x0, a.H - 1, a.W, 1, a.x0, a.y + a.H - 1);
        });
    if (!steps.empty() && !isEntry(c) && c.rowImage) {
        // The exit covers the screen's own picture; the part left of a split boundary
        // belongs to the split's first screen and is not redrawn.
        steps.front().draw = [a, image = c.rowImage,
                              first = std::move(steps.front().draw)](Surfaces& s) {
            put(s, a, *image, a.x0, 0, a.W - a.x0, a.H, a.x0, a.y);
            first(s);
        };
    }
    return steps;
}

StepList EffectCoverDownUp(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int m = a.H / 2;
    StepList steps;
    for (int r = 1; r <= m; ++r)
        addStep(steps, nonNegative(delayC(c.speed)), [a, in, m, r](Surfaces& s) {
            const Picture& from = in.of(s);
            // With an odd height the edges meet around a middle row; the last step takes it.
            const int top = (r == m && a.H % 2 != 0) ? r + 1 : r;
            put(s, a, from, a.x0, 0, a.W, top, a.x0, a.y);
            put(s, a, from, a.x0, a.H - r, a.W, r, a.x0, a.y + a.H - r);
        });
    return steps;
}

StepList EffectRollUp(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int r = 1; r <= a.H; ++r)
        addStep(steps, nonNegative(delayB(c.speed)), [a, in, r](Surfaces& s) {
            put(s, a, in.of(s), a.x0, 0, a.W, r, a.x0, a.y + a.H - r);
            put(s, a, s.previous, a.x0, r - 1, a.W, a.H - r, a.x0, a.y);
        });
    return steps;
}

StepList EffectRollDown(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    StepList steps;
    for (int r = 1; r <= a.H + 1; ++r) {
        // The incoming picture stops at its own place: the last step holds it there instead
        // of pushing it a row too far.
        const int shift = std::min(r, a.H);
        addStep(steps, nonNegative(delayB(c.speed)), [a, in, shift](Surfaces& s) {
            put(s, a, in.of(s), a.x0, 0, a.W, a.H, a.x0, a.y + shift - a.H);
            put(s, a, s.previous, a.x0, 0, a.W, a.H, a.x0, a.y + shift);
        });
    }
    return steps;
}

StepList EffectRollOut(const EffectContext& c)
{
    if (!c.rowImage)
        return {};
    const Area a = areaOf(c);
    const Incoming in = incomingOf(c);
    const int h = (a.W - a.x0) / 2;
    StepList steps;
    for (int k = 0; k <= h; ++k) {
        if (isEntry(c))
            addStep(steps, RollOutDelayMs, [a, in, h, k](Surfaces& s) {
                const Picture& from = in.of(s);
                put(s, a, from, a.x0 + h - k, 0, k + 1, a.H, a.x0 + h - k, a.y);
                put(s, a, from, a.W - k, 0, k + 1, a.H, a.x0 + h, a.y);
            });
        else
            addStep(steps, RollOutDelayMs, [a, in, h, k](Surfaces& s) {
                const Picture& black = in.of(s);
                put(s, a, black, a.x0 + k, 0, k + 1, a.H, a.x0 + h - k - 1, a.y);
                put(s, a, s.previous, a.x0 + k, 0, h - k - 1, a.H, a.x0, a.y);
                put(s, a, black, a.W - k, 0, k + 1, a.H, a.x0 + h, a.y);
                put(s, a, s.previous, a.x0 + h, 0, h - k - 1, a.H, a.x0 + h + k, a.y);
            });
    }
    return steps;
}

} // namespace led::sim
