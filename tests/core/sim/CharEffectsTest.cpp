#include "core/sim/Effects.h"

#include "core/text/Attributes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace led::sim {
namespace {

constexpr std::size_t All = std::numeric_limits<std::size_t>::max();

// Plays the first count steps on s, as the window would, without the waits.
void play(const StepList& steps, Surfaces& s, std::size_t count = All)
{
    for (std::size_t k = 0; k < steps.size() && k < count; ++k)
        if (steps[k].draw)
            steps[k].draw(s);
}

int totalMs(const StepList& steps)
{
    int ms = 0;
    for (const Step& st : steps)
        ms += st.delayMs;
    return ms;
}

std::shared_ptr<const Picture> solid(int w, int h, Rgb colour)
{
    return std::make_shared<const Picture>(w, h, colour);
}

// A context for a sign of signWidth full-width characters; the row image is red.
EffectContext context(const Surfaces& s, int direction, int split = 0)
{
    EffectContext c;
    c.direction = direction;
    c.split = split;
    c.rowImage = solid(s.W, s.H, RgbRed);
    return c;
}

// Surfaces whose display shows the outgoing picture, all in one colour.
Surfaces panel(int signWidth, Rgb outgoing)
{
    Surfaces s = Surfaces::forSignWidth(signWidth);
    s.display.fill(outgoing);
    return s;
}

using Routine = StepList (*)(const EffectContext&);

struct CountCase
{
    const char* name;
    Routine routine;
    int direction;
    int split;
    Bytes text;
    std::size_t steps;
    int ms;
};

// Sign width 2: W = 36, H = 18, u = 8, so byte positions 0..3.
TEST(CharEffects, StepCountsAndTimesAtSpeed6)
{
    const CountCase cases[] = {
        {"instant entry", EffectInstant, 1, 0, "", 1, 150},
        {"instant exit, split", EffectInstant, 2, 1, "", 1, 150},
        {"stripes entry", EffectStripes, 1, 0, "", 20, 600},
        {"stripes exit, split", EffectStripes, 2, 1, "", 20, 600},
        // 36 + 28 + 20 + 12 columns to fly.
        {"shoot, half-width", EffectShoot, 1, 0, "ab", 96, 960},
        {"shoot, split", EffectShoot, 1, 1, "ab", 96, 960},
        {"shoot, Big5", EffectShoot, 1, 0, "\xA4\xA4", 68, 680}, // 36 + 20 + 12
        {"shoot exit runs the entry again", EffectShoot, 2, 0, "ab", 96, 960},
        {"jump entry", EffectJump, 1, 0, "ab\xA4\xA4", 3, 450},
        {"jump entry, empty text", EffectJump, 1, 0, "", 4, 600},
        {"jump entry, split beyond W", EffectJump, 1, 3, "", 4, 600},
        {"jump exit", EffectJump, 2, 0, "", 4, 600},
        {"jump exit, split", EffectJump, 2, 1, "", 3, 450}, // ends at x = 40 > 36
        {"jump exit, split beyond W", EffectJump, 2, 3, "", 0, 0},
        {"jump exit, split released", EffectJump, 2, 255, "", 4, 600},
        // 171 row copies, or 153, then the closing wait of class D.
        {"rain entry", EffectRain, 1, 0, "", 172, 1718},
        {"rain entry, split", EffectRain, 1, 1, "", 172, 1718},
        {"rain exit", EffectRain, 2, 0, "", 154, 1538},
        {"rain exit, split", EffectRain, 2, 1, "", 154, 1538},
        {"snow entry", EffectSnow, 1, 0, "", 10, 1800},
        {"snow exit, split", EffectSnow, 2, 1, "", 10, 1800},
        {"stop", EffectStop, 2, 0, "", 1, 0},
        {"blink", EffectBlink, 2, 0, "", 26, 8900},
        {"blink, split released", EffectBlink, 2, 255, "", 26, 8900},
        {"blink, split", EffectBlink, 2, 1, "", 18, 8100},
        {"inverse blink", EffectInverseBlink, 2, 0, "", 4, 2000},
        {"inverse blink, split", EffectInverseBlink, 2, 1, "", 4, 2000},
        {"pause", EffectPause, 2, 0, "", 1, 10000},
    };
    const Surfaces s = Surfaces::forSignWidth(2);
    for (const CountCase& k : cases) {
        SCOPED_TRACE(k.name);
        EffectContext c = context(s, k.direction, k.split);
        c.text = k.text;
        const StepList steps = k.routine(c);
        EXPECT_EQ(steps.size(), k.steps);
        EXPECT_EQ(totalMs(steps), k.ms);
        for (const Step& st : steps)
            EXPECT_EQ(st.wait, WaitKind::Pause);
    }
}

TEST(CharEffects, WithoutRowImageNothingIsDrawn)
{
    Surfaces s = panel(2, RgbGreen);
    EffectContext c;
    for (Routine r : {EffectShoot, EffectJump, EffectRain})
        EXPECT_LE(r(c).size(), 1u);
    for (Routine r : {EffectInstant, EffectStripes, EffectSnow, EffectBlink, EffectInverseBlink})
        play(r(c), s); // must not touch a missing picture
}

TEST(CharEffects, StopRequestsTheEndAndDrawsNothing)
{
    const StepList steps = EffectStop(EffectContext{});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].flag, StepFlag::RequestStop);
    EXPECT_FALSE(steps[0].draw);
    EXPECT_EQ(steps[0].delayMs, 0);
}

TEST(CharEffects, InstantStartsAtTheBoundary)
{
    Surfaces s = panel(2, RgbGreen);
    play(EffectInstant(context(s, 1, 1)), s);
    EXPECT_EQ(s.display.pixel(15, 5), RgbGreen);
    EXPECT_EQ(s.display.pixel(16, 5), RgbRed);
    EXPECT_EQ(s.display.pixel(35, 17), RgbRed);
    EXPECT_EQ(s.display.pixel(36, 5), RgbGreen); // beyond the row image

    play(EffectInstant(context(s, 2, 1)), s);
    EXPECT_EQ(s.display.pixel(15, 5), RgbGreen);
    EXPECT_EQ(s.display.pixel(16, 5), RgbBlack);
    EXPECT_EQ(s.display.pixel(16, 20), RgbGreen); // below the line image
}

struct Probe
{
    std::size_t played; // steps played before looking
    int x;
    int r;
    Rgb expected;
};

void checkProbes(Routine routine, const EffectContext& c, int signWidth, Rgb outgoing,
                 const std::vector<Probe>& probes)
{
    const StepList steps = routine(c);
    for (const Probe& p : probes) {
        SCOPED_TRACE(testing::Message()
                     << "after " << p.played << " steps at (" << p.x << ", " << p.r << ")");
        Surfaces s = panel(signWidth, outgoing);
        play(steps, s, p.played);
        EXPECT_EQ(s.display.pixel(p.x, p.r), p.expected);
    }
}

// Pass p takes the columns x mod 20 = p; the row image is 36 × 18 on a 40 × 22 panel.
TEST(CharEffects, StripesPassTakesEveryTwentiethColumn)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    checkProbes(EffectStripes, context(s, 1), 2, RgbGreen,
                {
                    {1, 0, 0, RgbRed},
                    {1, 20, 17, RgbRed},
                    {1, 1, 0, RgbGreen},
                    {1, 20, 18, RgbGreen}, // below the row image: left alone
                    {11, 10, 5, RgbRed},
                    {11, 30, 5, RgbRed},
                    {11, 11, 5, RgbGreen},
                    {20, 35, 17, RgbRed},
                    {20, 19, 0, RgbRed},
                    {20, 37, 5, RgbGreen}, // beyond the row image
                });
    checkProbes(EffectStripes, context(s, 2, 1), 2, RgbGreen,
                {
                    {1, 0, 5, RgbGreen}, // left of the boundary
                    {1, 20, 21, RgbBlack},
                    {11, 10, 5, RgbGreen},
                    {11, 30, 5, RgbBlack},
                    {16, 15, 5, RgbGreen},
                    {20, 16, 0, RgbBlack},
                    {20, 39, 21, RgbBlack},
                    {20, 15, 5, RgbGreen},
                });
}

TEST(CharEffects, SnowPassesAndItsExitKeepsTheBoundaryColumn)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    // Pass 0 takes (1, 3): 1 + 9 = 10; (1, 1) falls in pass 2.
    checkProbes(EffectSnow, context(s, 2), 2, RgbRed,
                {
                    {1, 1, 3, RgbBlack},
                    {1, 1, 1, RgbRed},
                    {3, 1, 1, RgbBlack},
                    {10, 0, 0, RgbRed},
                    {10, 0, 21, RgbRed},
                    {10, 1, 0, RgbBlack},
                    {10, 39, 21, RgbBlack},
                });
    checkProbes(EffectSnow, context(s, 2, 1), 2, RgbRed,
                {
                    {10, 16, 7, RgbRed},
                    {10, 17, 7, RgbBlack},
                });
    // Entry: the work picture is black outside the row image.
    checkProbes(EffectSnow, context(s, 1), 2, RgbGreen,
                {
                    {1, 1, 3, RgbRed},
                    {1, 1, 1, RgbGreen},
                    {10, 35, 17, RgbRed},
                    {10, 36, 0, RgbBlack},
                    {10, 0, 21, RgbBlack},
                });
    // With a split, pass p takes the pixels (16 + x, r) with (x² + r²) mod 10 = p.
    checkProbes(EffectSnow, context(s, 1, 1), 2, RgbGreen,
                {
                    {1, 17, 3, RgbRed},
                    {1, 1, 3, RgbGreen},
                    {10, 15, 5, RgbGreen},
                    {10, 16, 5, RgbRed},
                });
}

// The row image: columns 0..31 red, 32..39 green, 40.. yellow; sign width 3 (W = 52).
TEST(CharEffects, ShootFliesAWideCharacterAsOnePiece)
{
    const Surfaces s = Surfaces::forSignWidth(3);
    auto row = std::make_shared<Picture>(s.W, s.H, RgbYellow);
    row->fillRect(0, 0, 32, s.H, RgbRed);
    row->fillRect(32, 0, 8, s.H, RgbGreen);
    EffectContext c = context(s, 1);
    c.rowImage = row;
    c.text = "\xA4\xA4\xA4\xA4"
             "ab";
    c.attr = {char(0x21), char(0x21), char(0xA1), char(0xA1), 0x41, 0x41};

    const StepList steps = EffectShoot(c);
    ASSERT_EQ(steps.size(), 52u + 20u + 12u);
    checkProbes(EffectShoot, c, 3, RgbBlue,
                {
                    {1, 50, 5, RgbBlue},  // not yet reached
                    {1, 51, 5, RgbRed},   // the piece enters at the right edge
                    {1, 55, 17, RgbRed},  // clipped at the panel's edge
                    {1, 51, 18, RgbBlue}, // only the line's rows
                    {26, 26, 5, RgbRed},  // one column further left per step
                    {26, 55, 5, RgbRed},
                    {26, 25, 5, RgbBlue},
                    {52, 0, 5, RgbRed},
                    {52, 31, 5, RgbRed},
                    {52, 32, 5, RgbBlack}, // the panel right of the piece is black
                    {53, 51, 5, RgbGreen}, // the next character starts 32 pixels on
                    {53, 50, 5, RgbBlack},
                    {53, 31, 5, RgbRed},
                    {72, 32, 5, RgbGreen},
                    {72, 40, 5, RgbBlack},
                    {84, 40, 5, RgbYellow},
                    {84, 47, 5, RgbYellow},
                    {84, 48, 5, RgbBlack},
                });
}

TEST(CharEffects, ShootWithSplitLandsRightOfTheBoundary)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    auto row = std::make_shared<Picture>(s.W, s.H, RgbRed);
    row->fillRect(16, 0, 8, s.H, RgbGreen);
    EffectContext c = context(s, 1, 1);
    c.rowImage = row;
    // The first byte flies from column 36 + 16, off the panel, to column 16.
    checkProbes(EffectShoot, c, 2, RgbBlue,
                {
                    {1, 39, 5, RgbBlue},
                    {13, 39, 5, RgbGreen},
                    {36, 16, 5, RgbGreen},
                    {36, 24, 5, RgbBlack},
                    {36, 15, 5, RgbBlue},
                });
}

struct Span
{
    int x;
    int width;
};

// The columns that changed at each step, on row 5, as one run per step.
std::vector<Span> changedRuns(const StepList& steps, Surfaces s)
{
    std::vector<Span> runs;
    for (const Step& st : steps) {
        const Picture before = s.display;
        st.draw(s);
        int first = -1;
        int last = -1;
        for (int x = 0; x < s.display.width(); ++x)
            if (s.display.pixel(x, 5) != before.pixel(x, 5)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        runs.push_back({first, first < 0 ? 0 : last - first + 1});
    }
    return runs;
}

TEST(CharEffects, JumpStepsFollowCharacterWidths)
{
    struct Case
    {
        const char* name;
        int signWidth;
        int direction;
        int split;
        Bytes text;
        Bytes attr;
        std::vector<Span> runs;
    };
    const Case cases[] = {
        {"two letters and a Big5 character", 2, 1, 0, "ab\xA4\xA4", "", {{0, 8}, {8, 8}, {16, 16}}},
        {"later positions one byte each",
         3,
         1,
         0,
         "ab\xA4\xA4",
         "",
         {{0, 8}, {8, 8}, {16, 16}, {32, 8}, {40, 8}}},
        {"a wide character in two halves",
         3,
         1,
         0,
         "\xA4\xA4\xA4\xA4",
         {char(0x21), char(0x21), char(0xA1), char(0xA1)},
         {{0, 16}, {16, 16}, {32, 8}, {40, 8}}},
        {"the wide bit alone", 2, 1, 0, "aaaa", {0x20, 0x20, 0x20, 0x20}, {{0, 16}, {16, 16}}},
        // Widths from the first byte, columns from the boundary; clipped at W = 52.
        {"split",
         3,
         1,
         1,
         "\xA4\xA4"
         "ab",
         "",
         {{16, 16}, {32, 8}, {40, 8}, {48, 4}, {-1, 0}}},
        {"exit", 2, 2, 0, "a\xA4\xA4", "", {{0, 8}, {8, 16}, {24, 8}}},
        {"exit with split ends past W", 2, 2, 1, "", "", {{16, 8}, {24, 8}, {32, 8}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Rgb outgoing = k.direction == 1 ? RgbGreen : RgbRed;
        Surfaces s = panel(k.signWidth, outgoing);
        EffectContext c = context(s, k.direction, k.split);
        c.text = k.text;
        c.attr = k.attr;
        const std::vector<Span> runs = changedRuns(EffectJump(c), s);
        ASSERT_EQ(runs.size(), k.runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].x, k.runs[i].x) << "step " << i;
            EXPECT_EQ(runs[i].width, k.runs[i].width) << "step " << i;
        }
    }
}

// The row image is red with a yellow bottom row (row 17).
EffectContext rainContext(const Surfaces& s, int direction, int split)
{
    auto row = std::make_shared<Picture>(s.W, s.H, RgbRed);
    row->fillRect(0, s.H - 1, s.W, 1, RgbYellow);
    EffectContext c = context(s, direction, split);
    c.rowImage = row;
    return c;
}

TEST(CharEffects, RainFallsRowByRow)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    checkProbes(EffectRain, rainContext(s, 1, 0), 2, RgbGreen,
                {
                    {1, 5, 0, RgbYellow}, // the bottom row starts at the top
                    {1, 5, 1, RgbGreen},
                    {18, 5, 0, RgbYellow},
                    {18, 5, 17, RgbYellow}, // landed, copies above it
                    {19, 5, 0, RgbRed},
                    {19, 5, 1, RgbYellow},
                    {171, 5, 0, RgbRed},
                    {171, 5, 16, RgbRed},
                    {171, 5, 17, RgbYellow},
                    {171, 36, 0, RgbGreen},
                    {172, 5, 17, RgbYellow}, // the closing wait draws nothing
                });
    checkProbes(EffectRain, rainContext(s, 1, 1), 2, RgbGreen,
                {
                    {171, 15, 5, RgbGreen},
                    {171, 16, 5, RgbRed},
                });
    // Exit: row j is copied onto rows 1..j; at the end rows 1..17 show the bottom row.
    checkProbes(EffectRain, rainContext(s, 2, 0), 2, RgbGreen,
                {
                    {1, 5, 1, RgbRed},
                    {1, 5, 2, RgbGreen},
                    {153, 5, 0, RgbGreen},
                    {153, 5, 1, RgbYellow},
                    {153, 5, 17, RgbYellow},
                    {154, 5, 0, RgbBlack},
                    {154, 39, 21, RgbBlack},
                });
    // With a split the part right of the boundary is left black as well.
    checkProbes(EffectRain, rainContext(s, 2, 1), 2, RgbGreen,
                {
                    {153, 16, 0, RgbGreen},
                    {153, 16, 1, RgbYellow},
                    {154, 15, 1, RgbGreen},
                    {154, 16, 0, RgbBlack},
                    {154, 16, 1, RgbBlack},
                    {154, 39, 21, RgbBlack},
                });
}

// Sign width 4: W = 68, split 3 puts the boundary at 48.
TEST(CharEffects, BlinkWithSplitKeepsTheSplitStartPicture)
{
    const Surfaces s = Surfaces::forSignWidth(4);
    EffectContext c = context(s, 2, 3);
    c.splitStart = 2;
    c.splitStartImage = solid(s.W, s.H, RgbYellow);
    checkProbes(EffectBlink, c, 4, RgbGreen,
                {
                    {1, 0, 5, RgbYellow},
                    {1, 47, 5, RgbYellow},
                    {1, 48, 5, RgbGreen}, // the boundary column is not redrawn
                    {1, 49, 5, RgbRed},
                    {1, 67, 17, RgbRed},
                    {2, 0, 5, RgbBlack},
                    {2, 67, 5, RgbBlack},
                    {9, 30, 5, RgbYellow},
                    {9, 60, 5, RgbRed},
                    {10, 30, 5, RgbBlack},
                    {18, 47, 5, RgbYellow}, // the last off phase blackens the right part only
                    {18, 48, 5, RgbBlack},
                    {18, 71, 5, RgbBlack},
                });
    // Without split: 0.8 s of black first, and the row image's own left part.
    c.split = 0;
    checkProbes(EffectBlink, c, 4, RgbGreen,
                {
                    {1, 30, 5, RgbBlack},
                    {8, 60, 5, RgbBlack},
                    {9, 30, 5, RgbRed},
                    {9, 0, 5, RgbBlack},
                    {26, 30, 5, RgbBlack},
                });
}

// Row image: red at columns 8..15, green at 16..23, yellow at 24..31, black elsewhere.
std::shared_ptr<const Picture> colouredRow(const Surfaces& s)
{
    auto row = std::make_shared<Picture>(s.W, s.H);
    row->fillRect(8, 0, 8, s.H, RgbRed);
    row->fillRect(16, 0, 8, s.H, RgbGreen);
    row->fillRect(24, 0, 8, s.H, RgbYellow);
    return row;
}

TEST(CharEffects, InverseBlinkBySignColours)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    EffectContext c = context(s, 2);
    c.rowImage = colouredRow(s);
    c.colorSet = 1;
    checkProbes(EffectInverseBlink, c, 2, RgbBlue,
                {
                    {1, 10, 5, RgbBlack}, // red text on black turns black on red
                    {1, 3, 5, RgbRed},
                    {1, 20, 5, RgbBlack}, // other colours stay black
                    {1, 0, 5, RgbBlack},  // the frame stays black
                    {1, 3, 0, RgbBlack},
                    {1, 3, 15, RgbRed},
                    {1, 3, 16, RgbBlack},
                    {1, 36, 5, RgbBlue}, // beyond W × H nothing is drawn
                    {2, 10, 5, RgbRed},
                    {2, 3, 5, RgbBlack},
                    {3, 10, 5, RgbBlack},
                    {4, 10, 5, RgbRed},
                });
    c.colorSet = 2;
    checkProbes(EffectInverseBlink, c, 2, RgbBlue,
                {
                    {1, 3, 5, RgbYellow},
                    {1, 10, 5, RgbGreen},
                    {1, 20, 5, RgbRed},
                    {1, 28, 5, RgbBlack},
                    {4, 20, 5, RgbGreen},
                    {4, 3, 5, RgbBlack},
                });
}

TEST(CharEffects, InverseBlinkWithSplitInvertsTheSplitStartPicture)
{
    const Surfaces s = Surfaces::forSignWidth(2);
    EffectContext c = context(s, 2, 1); // boundary at 16
    c.rowImage = colouredRow(s);
    auto start = std::make_shared<Picture>(s.W, s.H);
    start->fillRect(0, 0, 8, s.H, RgbGreen);
    c.splitStart = 1;
    c.splitStartImage = start;
    checkProbes(EffectInverseBlink, c, 2, RgbBlue,
                {
                    {1, 3, 5, RgbRed},
                    {1, 10, 5, RgbYellow},
                    {1, 3, 14, RgbRed}, // as far down as the right part
                    {1, 20, 5, RgbRed},
                    {1, 20, 14, RgbRed},
                    {1, 38, 5, RgbYellow}, // the inverse covers the panel's width
                    {2, 3, 5, RgbGreen},
                    {2, 10, 5, RgbBlack},
                    {2, 20, 5, RgbGreen},
                    {2, 38, 5, RgbBlack},
                });
    // Without a split-start screen the left part is black, then the picture itself.
    c.splitStart = 0;
    checkProbes(EffectInverseBlink, c, 2, RgbBlue,
                {
                    {1, 10, 5, RgbBlack},
                    {1, 20, 5, RgbRed},
                    {2, 10, 5, RgbRed},
                });
}

} // namespace
} // namespace led::sim
