#include "core/sim/Effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace led::sim {
namespace {

using Routine = StepList (*)(const EffectContext&);

constexpr std::uint8_t NewTag = 1;
constexpr std::uint8_t OldTag = 2;

// Every pixel of a picture tells where it came from: its column, its row and a tag.
Rgb px(int x, int y, std::uint8_t tag)
{
    return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), tag};
}
Rgb newPx(int x, int y)
{
    return px(x, y, NewTag);
}
Rgb oldPx(int x, int y)
{
    return px(x, y, OldTag);
}

Picture pattern(int w, int h, std::uint8_t tag)
{
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, px(x, y, tag));
    return p;
}

// A panel that shows an old picture everywhere, taken into `previous` as the dispatch does,
// and a small player that runs steps on it.
struct Panel
{
    Surfaces s;
    std::shared_ptr<const Picture> image;

    explicit Panel(int signWidth, int imageHeight = 18) : s(Surfaces::forSignWidth(signWidth))
    {
        image = std::make_shared<Picture>(pattern(s.W, imageHeight, NewTag));
        s.display = pattern(s.display.width(), s.display.height(), OldTag);
        s.previous.fillRect(0, 0, 960, s.H, RgbBlack);
        s.previous.copyFrom(s.display, 0, 0, s.W, s.H, 0, 0);
    }

    EffectContext context(int direction, int split = 0, int screen = 2) const
    {
        EffectContext c;
        c.screen = screen;
        c.split = split;
        c.direction = direction;
        c.speed = 6;
        c.rowImage = image;
        return c;
    }

    // Plays the first count steps.
    void play(const StepList& steps, std::size_t count)
    {
        for (std::size_t i = 0; i < std::min(count, steps.size()); ++i)
            if (steps[i].draw)
                steps[i].draw(s);
    }
    void playAll(const StepList& steps) { play(steps, steps.size()); }

    Rgb at(int x, int y) const { return s.display.pixel(x, y); }

    // Column x, one letter a row: N the new picture in place, O the old, B black.
    std::string column(int x) const
    {
        std::string out;
        for (int y = 0; y < image->height(); ++y) {
            const Rgb c = at(x, y);
            out += c == newPx(x, y) ? 'N' : c == oldPx(x, y) ? 'O' : c == RgbBlack ? 'B' : '?';
        }
        return out;
    }
};

constexpr int Entry = 1;
constexpr int Exit = 2;

// Step counts and delays at s = 6 on a sign 10 characters wide: W = 164, H = 18. Split 3
// puts the boundary at 48, split 11 at 176, beyond W.
struct CountCase
{
    const char* name;
    Routine routine;
    int split;
    int entrySteps;
    int exitSteps;
    int delayMs;
};

const CountCase countCases[] = {
    {"MoveLeft", EffectMoveLeft, 0, 164, 164, 40},
    {"MoveLeft split", EffectMoveLeft, 3, 164, 116, 40},
    {"MoveLeft beyond", EffectMoveLeft, 11, 176, 0, 40},
    {"SweepRight", EffectSweepRight, 0, 165, 165, 20},
    {"SweepRight split", EffectSweepRight, 3, 165, 165, 20},
    {"SweepRight beyond", EffectSweepRight, 11, 165, 165, 20},
    {"RollIn", EffectRollIn, 0, 83, 83, 20},
    {"RollIn split", EffectRollIn, 3, 59, 59, 20},
    {"RollIn beyond", EffectRollIn, 11, 0, 0, 20},
    {"CoverLeft", EffectCoverLeft, 0, 164, 164, 20},
    {"CoverLeft split", EffectCoverLeft, 3, 116, 116, 20},
    {"CoverLeft beyond", EffectCoverLeft, 11, 0, 0, 20},
    {"CoverRight", EffectCoverRight, 0, 164, 164, 20},
    {"CoverRight split", EffectCoverRight, 3, 116, 116, 20},
    {"CoverRight beyond", EffectCoverRight, 11, 0, 0, 20},
    {"CoverUp", EffectCoverUp, 0, 18, 18, 70},
    {"CoverUp beyond", EffectCoverUp, 11, 18, 18, 70},
    {"CoverDown", EffectCoverDown, 0, 18, 18, 70},
    {"CoverDown beyond", EffectCoverDown, 11, 18, 18, 70},
    {"CoverIn", EffectCoverIn, 0, 82, 82, 20},
    {"CoverIn split", EffectCoverIn, 3, 58, 58, 20},
    {"CoverIn beyond", EffectCoverIn, 11, 0, 0, 20},
    {"CoverOut", EffectCoverOut, 0, 84, 84, 40},
    {"CoverOut split", EffectCoverOut, 3, 60, 60, 40},
    {"CoverOut beyond", EffectCoverOut, 11, 0, 0, 40},
    {"CoverUpDown", EffectCoverUpDown, 0, 9, 9, 100},
    {"CoverUpDown split", EffectCoverUpDown, 3, 9, 9, 100},
    {"CoverDownUp", EffectCoverDownUp, 0, 9, 9, 60},
    {"CoverDownUp split", EffectCoverDownUp, 3, 9, 9, 60},
    {"RollUp", EffectRollUp, 0, 18, 18, 40},
    {"RollUp split", EffectRollUp, 3, 18, 18, 40},
    {"RollDown", EffectRollDown, 0, 19, 19, 40},
    {"RollDown split", EffectRollDown, 3, 19, 19, 40},
    {"RollOut", EffectRollOut, 0, 83, 83, 50},
    {"RollOut split", EffectRollOut, 3, 59, 59, 50},
    {"RollOut beyond", EffectRollOut, 11, 0, 0, 50},
};

TEST(SlideEffects, StepCountsAndTimeAtSpeedSix)
{
    const Panel panel(10);
    ASSERT_EQ(panel.s.W, 164);
    for (const CountCase& t : countCases) {
        for (const int direction : {Entry, Exit}) {
            SCOPED_TRACE(std::string(t.name) + (direction == Entry ? " entry" : " exit"));
            const StepList steps = t.routine(panel.context(direction, t.split));
            const int expected = direction == Entry ? t.entrySteps : t.exitSteps;
            ASSERT_EQ(static_cast<int>(steps.size()), expected);
            int total = 0;
            for (const Step& step : steps) {
                EXPECT_EQ(step.delayMs, t.delayMs);
                EXPECT_EQ(step.wait, WaitKind::Pause);
                EXPECT_EQ(step.flag, StepFlag::None);
                total += step.delayMs;
            }
            EXPECT_EQ(total, expected * t.delayMs);
        }
    }
}

TEST(SlideEffects, DelayClassesFollowTheSpeedFixedDelaysDoNot)
{
    const Panel panel(10);
    EffectContext c = panel.context(Entry);
    c.speed = 2;
    EXPECT_EQ(EffectCoverLeft(c).front().delayMs, 40);    // class A
    EXPECT_EQ(EffectRollUp(c).front().delayMs, 80);       // class B
    EXPECT_EQ(EffectCoverDownUp(c).front().delayMs, 120); // class C
    EXPECT_EQ(EffectMoveLeft(c).front().delayMs, 40);
    EXPECT_EQ(EffectCoverUp(c).front().delayMs, 70);
    EXPECT_EQ(EffectCoverUpDown(c).front().delayMs, 100);
    EXPECT_EQ(EffectRollOut(c).front().delayMs, 50);
}

TEST(SlideEffects, NoRowImageGivesNoSteps)
{
    EffectContext c;
    for (const Routine routine : {EffectMoveLeft, EffectSweepRight, EffectRollIn, EffectCoverUp,
                                  EffectCoverOut, EffectRollDown})
        EXPECT_TRUE(routine(c).empty());
}

// After every entry the boundary's right holds the screen's picture in place; after every
// exit it is black. The left of the boundary and everything outside the line stay as they were.
struct FinalCase
{
    const char* name;
    Routine routine;
    bool ignoresSplit;
};

const FinalCase finalCases[] = {
    {"MoveLeft", EffectMoveLeft, false},       {"SweepRight", EffectSweepRight, true},
    {"RollIn", EffectRollIn, false},           {"CoverLeft", EffectCoverLeft, false},
    {"CoverRight", EffectCoverRight, false},   {"CoverUp", EffectCoverUp, false},
    {"CoverDown", EffectCoverDown, false},     {"CoverIn", EffectCoverIn, false},
    {"CoverOut", EffectCoverOut, false},       {"CoverUpDown", EffectCoverUpDown, false},
    {"CoverDownUp", EffectCoverDownUp, false}, {"RollUp", EffectRollUp, false},
    {"RollDown", EffectRollDown, false},       {"RollOut", EffectRollOut, false},
};

struct Geometry
{
    int signWidth;
    int imageHeight;
    int split;
};

TEST(SlideEffects, EveryEffectEndsWithThePictureInPlace)
{
    const Geometry geometries[] = {{1, 18, 0}, {1, 18, 1}, {2, 18, 1}, {3, 18, 0}, {1, 7, 0}};
    for (const FinalCase& t : finalCases)
        for (const Geometry& g : geometries)
            for (const int direction : {Entry, Exit}) {
                SCOPED_TRACE(std::string(t.name) + (direction == Entry ? " entry" : " exit") +
                             " width " + std::to_string(g.signWidth) + " height " +
                             std::to_string(g.imageHeight) + " split " + std::to_string(g.split));
                Panel panel(g.signWidth, g.imageHeight);
                const int x0 = t.ignoresSplit ? 0 : 16 * g.split;
                Picture expected = panel.s.display;
                for (int y = 0; y < g.imageHeight; ++y)
                    for (int x = x0; x < panel.s.W; ++x)
                        expected.setPixel(x, y, direction == Entry ? newPx(x, y) : RgbBlack);
                panel.playAll(t.routine(panel.context(direction, g.split)));
                EXPECT_TRUE(panel.s.display == expected);
            }
}

// A sign one character wide: W = 20, H = 18.
TEST(SlideEffects, MoveLeftEntryCoversTheOldPicture)
{
    Panel panel(1);
    const StepList steps = EffectMoveLeft(panel.context(Entry));
    ASSERT_EQ(steps.size(), 20u);

    panel.play(steps, 1);
    EXPECT_EQ(panel.at(19, 3), newPx(0, 3));
    EXPECT_EQ(panel.at(18, 3), oldPx(18, 3));

    panel.play(steps, 11); // k = 10: the new picture's columns 0..10 at 9..19
    EXPECT_EQ(panel.at(9, 3), newPx(0, 3));
    EXPECT_EQ(panel.at(19, 3), newPx(10, 3));
    EXPECT_EQ(panel.at(8, 3), oldPx(8, 3));
    EXPECT_EQ(panel.at(0, 3), oldPx(0, 3));

    panel.playAll(steps);
    EXPECT_EQ(panel.column(0), std::string(18, 'N'));
    EXPECT_EQ(panel.column(19), std::string(18, 'N'));
}

TEST(SlideEffects, MoveLeftEntryCrawlsWhenTheScreenContinues)
{
    Panel panel(1);
    EffectContext c = panel.context(Entry);
    c.ownExitContinues = true;
    const StepList steps = EffectMoveLeft(c);
    ASSERT_EQ(steps.size(), 20u);

    panel.play(steps, 1);
    EXPECT_EQ(panel.at(19, 3), newPx(0, 3));
    EXPECT_EQ(panel.at(18, 3), oldPx(18, 3));

    panel.play(steps, 11); // the old picture pushed ten columns ahead of the new one
    EXPECT_EQ(panel.at(0, 3), oldPx(10, 3));
    EXPECT_EQ(panel.at(8, 3), oldPx(18, 3));
    EXPECT_EQ(panel.at(9, 3), newPx(0, 3));
    EXPECT_EQ(panel.at(19, 3), newPx(10, 3));

    panel.playAll(steps);
    EXPECT_EQ(panel.column(0), std::string(18, 'N'));
    EXPECT_EQ(panel.column(19), std::string(18, 'N'));
}

TEST(SlideEffects, ScreenOneNeverCrawls)
{
    Panel panel(1);
    EffectContext c = panel.context(Entry, 0, 1);
    c.ownExitContinues = true;
    panel.play(EffectMoveLeft(c), 11);
    EXPECT_EQ(panel.at(0, 3), oldPx(0, 3));
    EXPECT_EQ(panel.at(8, 3), oldPx(8, 3));
}

TEST(SlideEffects, MoveLeftEntryWithSplitSlidesOnToItsPlace)
{
    Panel panel(1); // split 1: boundary at 16, 4 sliding steps and 16 more
    const StepList steps = EffectMoveLeft(panel.context(Entry, 1));
    ASSERT_EQ(steps.size(), 20u);

    panel.play(steps, 1);
    EXPECT_EQ(panel.at(19, 3), newPx(0, 3));
    EXPECT_EQ(panel.at(16, 3), oldPx(16, 3));

    panel.play(steps, 12); // j = 8
    EXPECT_EQ(panel.at(16, 3), newPx(8, 3));
    EXPECT_EQ(panel.at(19, 3), newPx(11, 3));
    EXPECT_EQ(panel.at(15, 3), oldPx(15, 3));
    EXPECT_EQ(panel.at(20, 3), oldPx(20, 3)); // nothing beside the line

    panel.playAll(steps);
    EXPECT_EQ(panel.column(15), std::string(18, 'O'));
    EXPECT_EQ(panel.column(16), std::string(18, 'N'));
    EXPECT_EQ(panel.column(19), std::string(18, 'N'));
}

TEST(SlideEffects, MoveLeftExitLeavesBlackBehind)
{
    Panel panel(1);
    const StepList steps = EffectMoveLeft(panel.context(Exit));

    panel.play(steps, 1);
    EXPECT_EQ(panel.at(0, 3), oldPx(0, 3));
    EXPECT_EQ(panel.at(18, 3), oldPx(18, 3));
    EXPECT_EQ(panel.at(19, 3), RgbBlack);

    panel.play(steps, 11); // k = 10
    EXPECT_EQ(panel.at(0, 3), oldPx(10, 3));
    EXPECT_EQ(panel.at(8, 3), oldPx(18, 3));
    EXPECT_EQ(panel.column(9), std::string(18, 'B'));
    EXPECT_EQ(panel.column(19), std::string(18, 'B'));

    panel.playAll(steps);
    EXPECT_EQ(panel.column(0), std::string(18, 'B'));
}

TEST(SlideEffects, MoveLeftAfterLiveContentSlidesWhatWasShown)
{
    Panel panel(1);
    panel.s.previous.fill(RgbRed); // stale: the live display drew after the dispatch's copy
    panel.s.blackImage.fill(RgbRed);
    EffectContext c = panel.context(Exit);
    c.liveContent = true;
    const StepList steps = EffectMoveLeft(c);

    panel.play(steps, 2);
    EXPECT_EQ(panel.at(0, 3), oldPx(1, 3));
    EXPECT_EQ(panel.at(17, 3), oldPx(18, 3));
    EXPECT_EQ(panel.s.blackImage.pixel(0, 0), RgbBlack);
}

// An odd height, H = 7: the spread covers rows 2–3, 1–4, 0–5 and the bottom row at last.
TEST(SlideEffects, CoverUpDownWithOddHeight)
{
    Panel panel(1, 7);
    const StepList steps = EffectCoverUpDown(panel.context(Entry));
    ASSERT_EQ(steps.size(), 3u);

    panel.play(steps, 1);
    EXPECT_EQ(panel.column(0), "OONNOOO");
    panel.play(steps, 2);
    EXPECT_EQ(panel.column(10), "ONNNNOO");
    panel.playAll(steps);
    EXPECT_EQ(panel.column(19), "NNNNNNN");
    EXPECT_EQ(panel.at(20, 3), oldPx(20, 3));
}

TEST(SlideEffects, CoverUpDownExitRedrawsTheScreenRightOfTheSplit)
{
    Panel panel(1, 7);
    const StepList steps = EffectCoverUpDown(panel.context(Exit, 1));

    panel.play(steps, 1);
    EXPECT_EQ(panel.column(15), "OOOOOOO"); // the split's left part is kept
    EXPECT_EQ(panel.column(16), "NNBBNNN");
    panel.play(steps, 2);
    EXPECT_EQ(panel.column(19), "NBBBBNN");
    panel.playAll(steps);
    EXPECT_EQ(panel.column(16), "BBBBBBB");
    EXPECT_EQ(panel.column(15), "OOOOOOO");
}

TEST(SlideEffects, CoverDownUpWithOddHeight)
{
    Panel panel(1, 7);
    const StepList steps = EffectCoverDownUp(panel.context(Entry));
    ASSERT_EQ(steps.size(), 3u);

    panel.play(steps, 1);
    EXPECT_EQ(panel.column(0), "NOOOOON");
    panel.play(steps, 2);
    EXPECT_EQ(panel.column(10), "NNOOONN");
    panel.playAll(steps);
    EXPECT_EQ(panel.column(19), "NNNNNNN");
}

TEST(SlideEffects, CoverUpDownAndDownUpWithEvenHeight)
{
    Panel upDown(1);
    upDown.play(EffectCoverUpDown(upDown.context(Entry)), 5);
    EXPECT_EQ(upDown.column(7), "OOOONNNNNNNNNNOOOO");

    Panel downUp(1);
    downUp.play(EffectCoverDownUp(downUp.context(Entry)), 5);
    EXPECT_EQ(downUp.column(7), "NNNNNOOOOOOOONNNNN");
}

TEST(SlideEffects, RollDownEndsAtItsOwnPlace)
{
    Panel panel(1, 7);
    const StepList steps = EffectRollDown(panel.context(Entry));
    ASSERT_EQ(steps.size(), 8u);

    panel.play(steps, 1); // the new picture's bottom row on top, the old pushed down a row
    EXPECT_EQ(panel.at(5, 0), newPx(5, 6));
    EXPECT_EQ(panel.at(5, 1), oldPx(5, 0));
    EXPECT_EQ(panel.at(5, 6), oldPx(5, 5));

    panel.playAll(steps);
    EXPECT_EQ(panel.column(5), "NNNNNNN");
    EXPECT_EQ(panel.at(5, 7), oldPx(5, 7)); // nothing below the line
}

} // namespace
} // namespace led::sim
