#include "core/sim/Dispatch.h"

#include "core/sim/Effects.h"

#include <algorithm>
#include <initializer_list>

namespace led::sim {
namespace {

constexpr int RandomCodeCount = 33; // 0..32
constexpr int PreviousClearWidth = 960;

bool among(int code, std::initializer_list<int> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

int drawCode(const RandomSource& random, std::initializer_list<int> excluded)
{
    // Bounded: a source that keeps giving an excluded code ends on "向左移入/移出" (0).
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const int code = random ? random(RandomCodeCount) : 0;
        if (code >= 0 && code < RandomCodeCount && !among(code, excluded))
            return code;
    }
    return 0;
}

EffectRoutine withMoveLeft(StepList (*live)(const EffectContext&))
{
    return [live](const EffectContext& c) {
        StepList steps = live(c);
        EffectContext follow = c;
        follow.split = 0;
        follow.liveContent = true;
        StepList slide = EffectMoveLeft(follow);
        steps.insert(steps.end(), std::make_move_iterator(slide.begin()),
                     std::make_move_iterator(slide.end()));
        return steps;
    };
}

EffectRun run(EffectContext c, int code, int direction, const EffectTable& table)
{
    c.direction = direction;
    EffectRun result;
    result.code = code;
    const EffectRoutine routine = table ? table(code, direction) : EffectRoutine();
    if (routine)
        result.steps = routine(c);
    if (result.steps.empty())
        return result;

    const bool entry = direction == 1;
    auto first = std::move(result.steps.front().draw);
    result.steps.front().draw = [entry, first](Surfaces& s) {
        if (entry)
            s.previous.fillRect(0, 0, PreviousClearWidth, s.H, RgbBlack);
        s.previous.copyFrom(s.display, 0, 0, s.W, s.H, 0, 0);
        if (first)
            first(s);
    };
    return result;
}

} // namespace

EffectRoutine standardRoutine(int code, int direction)
{
    const bool entry = direction == 1;
    switch (code) {
    case 0:
    case 28:
        return EffectMoveLeft;
    case 1:
        return EffectSweepRight;
    case 2:
        return EffectRollIn;
    case 3:
        return EffectCoverLeft;
    case 4:
        return EffectCoverRight;
    case 5:
        return EffectCoverUp;
    case 6:
        return EffectCoverDown;
    case 7:
        return EffectCoverIn;
    case 8:
        return EffectCoverOut;
    case 9:
        return EffectCoverUpDown;
    case 10:
        return EffectCoverDownUp;
    case 15:
        return EffectRollUp;
    case 16:
        return EffectRollDown;
    case 17:
        return EffectInstant;
    case 18:
        return EffectStripes;
    case 19:
        return EffectShoot;
    case 20:
        return EffectJump;
    case 21:
        return EffectRain;
    case 22:
        return EffectSnow;
    case 23:
        return EffectAnimation;
    case 24:
        return entry ? EffectRoutine() : EffectStop;
    case 25:
        return entry ? EffectRoutine() : EffectBlink;
    case 26:
        return entry ? EffectRoutine() : EffectInverseBlink;
    case 27:
        return entry ? EffectRoutine() : EffectPause;
    case 29:
        return withMoveLeft(ShowClock);
    case 30:
        return withMoveLeft(ShowDate);
    case 32:
        return EffectRollOut;
    case 33:
        return withMoveLeft(ShowTemperature);
    default:
        return {};
    }
}

int drawEntryCode(const RandomSource& random)
{
    return drawCode(random, {11, 12, 13, 14, 19, 27, 31});
}

int drawExitCode(const RandomSource& random)
{
    return drawCode(random, {11, 12, 13, 14, 19, 24, 25, 26, 27, 28, 31});
}

EffectRun RunEntryEffect(EffectContext c, int code, const EffectTable& table)
{
    if (code == RandomEffectCode)
        code = drawEntryCode(c.random);
    return run(std::move(c), code, 1, table);
}

EffectRun RunExitEffect(EffectContext c, int code, const EffectTable& table)
{
    if (code == RandomEffectCode)
        code = drawExitCode(c.random);
    return run(std::move(c), code, 2, table);
}

} // namespace led::sim
