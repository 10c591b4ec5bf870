#pragma once

#include "core/render/Picture.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace led::sim {

inline constexpr int PanelHeight = 22; // the height of a row's text field

// The simulator's drawing surfaces. Effects draw on `display`; `previous` holds the
// outgoing picture (E + 2 wide), `blackSurface` and `blackImage` stay black.
struct Surfaces
{
    int W = 0; // width of a line image: 8 × maximum length + 4
    int H = 0; // height of a line image: 18
    int E = 0; // width of the row's text field: 8 × maximum length + 8
    Picture display;
    Picture previous;
    Picture blackSurface;
    Picture blackImage;

    // Surfaces for a sign width: a panel of E × H, everything black.
    static Surfaces forSignWidth(int signWidth);
};

enum class WaitKind
{
    Pause, // PauseMs: the time, then pending events once
    Busy   // BusyWaitMs: events run all the time
};

// What a step does besides drawing.
enum class StepFlag
{
    None,
    RequestStop // the exit effect "停止": the run ends after this screen
};

// One drawing step of an effect: draw, show the display, then wait.
struct Step
{
    std::function<void(Surfaces&)> draw; // may be empty: a pure wait
    int delayMs = 0;
    WaitKind wait = WaitKind::Pause;
    StepFlag flag = StepFlag::None;
};

using StepList = std::vector<Step>;

// A uniform random source: a number in 0..bound-1. The run passes the real one (or a
// seeded one in tests and the CLI).
using RandomSource = std::function<int(int bound)>;

// The clock reading that live content shows.
struct LocalTime
{
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 0; // 0 Sunday .. 6 Saturday
};

// Everything a routine is given. Pictures are shared so that steps built now draw the
// right thing when they are played later.
struct EffectContext
{
    int screen = 1;                                 // n, 1..254
    Bytes text;                                     // the screen's text
    Bytes attr;                                     // its row's attributes, byte by byte
    int split = 0;                                  // effective split code
    int direction = 1;                              // 1 entry, 2 exit
    int speed = 6;                                  // s
    int y = 0;                                      // vertical offset, always 0
    std::shared_ptr<const Picture> rowImage;        // the screen's row image
    std::shared_ptr<const Picture> splitStartImage; // row image of the split-start screen
    int splitStart = 0;                             // split-start screen, 0 = none
    int colorSet = 2;                               // 1 single-colour sign
    bool liveContent = false;                       // EffectMoveLeft after clock/date/temperature
    bool ownExitContinues = false;                  // the screen's own exit is "續幕"
    RandomSource random;                            // for the effects that draw at random
    LocalTime time;                                 // for live content

    int x0() const { return 16 * split; }
};

// Delay classes at speed s.
constexpr int delayA(int s)
{
    return 5 * (10 - s);
}
constexpr int delayB(int s)
{
    return 10 * (10 - s);
}
constexpr int delayC(int s)
{
    return 15 * (10 - s);
}
constexpr int delayD(int s)
{
    return 2 * (10 - s);
}

} // namespace led::sim
