#include "core/sim/RunPlan.h"
#include "core/render/LineImage.h"
#include "core/sim/Effects.h"
#include "core/sim/Player.h"
#include "core/sim/RunRules.h"
#include "core/text/Attributes.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace led::sim {
namespace {

constexpr int MaxLength = 20; // a sign 10 characters wide

RunSettings range(int from, int to)
{
    RunSettings s;
    s.from = from;
    s.to = to;
    s.maxLength = MaxLength;
    return s;
}

void setText(Document& doc, int n, const std::string& utf8)
{
    doc.content(n).text = big5(utf8);
    doc.content(n).attr = Bytes(doc.content(n).text.size(), static_cast<char>(AttrPadding));
}

// Stand-in routines: an entry is 3 steps of 40 ms, an exit 2 of 20 ms, code 24 on exit asks
// to stop, 11 has none. Every context handed out is kept.
struct FakeEffects
{
    std::vector<EffectContext> calls;

    EffectTable table()
    {
        return [this](int code, int direction) -> EffectRoutine {
            if (code == 11)
                return {};
            return [this, code, direction](const EffectContext& c) {
                calls.push_back(c);
                StepList steps(direction == 1 ? 3 : 2);
                for (Step& s : steps)
                    s.delayMs = direction == 1 ? 40 : 20;
                if (direction == 2 && code == 24)
                    steps.back().flag = StepFlag::RequestStop;
                return steps;
            };
        };
    }
};

long long totalMs(const Pass& pass)
{
    long long sum = 0;
    for (const Segment& seg : pass.segments)
        for (const Step& s : seg.steps)
            sum += s.delayMs;
    return sum;
}

std::vector<const Segment*> segmentsOf(const Pass& pass, SegmentKind kind)
{
    std::vector<const Segment*> out;
    for (const Segment& seg : pass.segments)
        if (seg.kind == kind)
            out.push_back(&seg);
    return out;
}

TEST(RunRules, SplitsFollowTheLatestCodeAndRelease)
{
    Document doc;
    const int codes[] = {0, 3, 0, 255, 0};
    for (int n = 1; n <= 5; ++n)
        doc.screen(n).split = codes[n - 1];
    const int entry[] = {0, 0, 3, 3, 0};
    const int exit[] = {0, 3, 3, 0, 0};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(entrySplit(doc, 1, n), entry[n - 1]) << n;
        EXPECT_EQ(exitSplit(doc, 1, n), exit[n - 1]) << n;
    }
    // The range's first screen never enters split, and nothing before it counts.
    EXPECT_EQ(entrySplit(doc, 3, 3), 0);
    EXPECT_EQ(exitSplit(doc, 3, 3), 0);
    // Stored nonsense does not overflow the boundary.
    doc.screen(1).split = 1 << 30;
    EXPECT_EQ(exitSplit(doc, 1, 1), 254);
    doc.screen(1).split = -7;
    EXPECT_EQ(exitSplit(doc, 1, 1), 0);
}

TEST(RunRules, PagesAndRows)
{
    EXPECT_EQ(pageFirstScreen(12), 9);
    EXPECT_EQ(gridRow(12), 4);
    EXPECT_EQ(pageFirstScreen(8), 1);
    EXPECT_EQ(gridRow(8), 8);
    EXPECT_EQ(pageFirstScreen(9), 9);
    EXPECT_EQ(gridRow(9), 1);
    EXPECT_EQ(pageFirstScreen(254), 249);
}

TEST(RunPlan, ContextsCarrySplitsSplitStartAndRowImages)
{
    Document doc;
    GlyphTable glyphs;
    const int codes[] = {0, 3, 0, 255, 0};
    for (int n = 1; n <= 5; ++n) {
        doc.screen(n).split = codes[n - 1];
        doc.screen(n).front = 0;
        doc.screen(n).rear = 0;
        setText(doc, n, "第" + std::to_string(n) + "幕");
    }
    FakeEffects fake;
    RunPlan plan(doc, glyphs, range(5, 1), {}, fake.table());
    const Pass pass = plan.nextPass();
    ASSERT_EQ(fake.calls.size(), 10u);
    const int entry[] = {0, 0, 3, 3, 0};
    const int exit[] = {0, 3, 3, 0, 0};
    const int start[] = {0, 2, 2, 0, 0};
    for (int n = 1; n <= 5; ++n) {
        const EffectContext& in = fake.calls[2 * (n - 1)];
        const EffectContext& out = fake.calls[2 * (n - 1) + 1];
        EXPECT_EQ(in.screen, n);
        EXPECT_EQ(in.direction, 1);
        EXPECT_EQ(out.direction, 2);
        EXPECT_EQ(in.split, entry[n - 1]) << n;
        EXPECT_EQ(out.split, exit[n - 1]) << n;
        EXPECT_EQ(in.splitStart, start[n - 1]) << n;
        EXPECT_EQ(in.speed, 6);
        EXPECT_EQ(in.text, doc.content(n).text);
    }
    EXPECT_EQ(*fake.calls[4].splitStartImage, *plan.rowImage(2));
    EXPECT_FALSE(pass.stopped);
}

TEST(RunPlan, ScreenTwelveIsRowFourOfItsPage)
{
    Document doc;
    GlyphTable glyphs;
    for (int n = 9; n <= 16; ++n)
        setText(doc, n, "幕" + std::to_string(n));
    FakeEffects fake;
    RunPlan plan(doc, glyphs, range(13, 12), {}, fake.table());
    EXPECT_EQ(plan.first(), 12);
    EXPECT_EQ(plan.last(), 13);
    plan.nextPass();
    ASSERT_FALSE(fake.calls.empty());
    const TContect& c = doc.content(12);
    EXPECT_EQ(*fake.calls[0].rowImage, Redraw(RowView{c.text, c.attr}, MaxLength, glyphs));
    EXPECT_EQ(fake.calls[0].rowImage->width(), 164);
    EXPECT_NE(*fake.calls[0].rowImage, *plan.rowImage(13));
}

TEST(RunPlan, StopEndsTheRunAfterItsScreen)
{
    Document doc;
    GlyphTable glyphs;
    for (int n = 1; n <= 4; ++n) {
        setText(doc, n, "A");
        doc.screen(n).front = 0;
        doc.screen(n).rear = n == 2 ? 24 : 0;
    }
    FakeEffects fake;
    RunPlan plan(doc, glyphs, range(1, 4), {}, fake.table());
    const Pass pass = plan.nextPass();
    EXPECT_TRUE(pass.stopped);
    EXPECT_TRUE(plan.stopped());
    EXPECT_EQ(pass.segments.back().kind, SegmentKind::Stop);
    EXPECT_EQ(pass.segments.back().screen, 2);
    EXPECT_EQ(segmentsOf(pass, SegmentKind::Entry).size(), 2u);
    EXPECT_TRUE(plan.nextPass().segments.empty());

    // The stop blackens the work surfaces but keeps the display.
    Surfaces s = Surfaces::forSignWidth(10);
    s.display.setPixel(3, 3, RgbRed);
    s.previous.setPixel(3, 3, RgbRed);
    s.blackImage.setPixel(3, 3, RgbRed);
    Player(s).play(pass.segments.back());
    EXPECT_EQ(s.display.pixel(3, 3), RgbRed);
    EXPECT_EQ(s.previous.pixel(3, 3), RgbBlack);
    EXPECT_EQ(s.blackImage.pixel(3, 3), RgbBlack);
}

TEST(RunPlan, TimingOfAPass)
{
    Document doc;
    GlyphTable glyphs;
    setText(doc, 1, "A");
    doc.screen(1).stay = 2;
    doc.screen(2).stay = 0;
    doc.screen(1).rear = 0;
    doc.screen(2).rear = 11; // no routine: the screen stays, no steps
    FakeEffects fake;
    RunPlan plan(doc, glyphs, range(1, 2), {}, fake.table());
    const Pass pass = plan.nextPass();
    // Screen 1: 3 × 40 + 2000 + 2 × 20; screen 2 (empty): 1000 + 3 × 40 + 0.
    EXPECT_EQ(totalMs(pass), 120 + 2000 + 40 + 1000 + 120);
    EXPECT_EQ(plan.plannedMs(), totalMs(pass));
    const auto waits = segmentsOf(pass, SegmentKind::EmptyWait);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0]->screen, 2);
    EXPECT_EQ(waits[0]->steps[0].wait, WaitKind::Busy);
    EXPECT_TRUE(segmentsOf(pass, SegmentKind::Exit)[1]->steps.empty());

    // Passes repeat until stopped; the virtual clock runs exactly the planned time.
    Surfaces s = Surfaces::forSignWidth(10);
    Player player(s);
    player.play(pass);
    player.play(plan.nextPass());
    EXPECT_EQ(player.nowUs(), 2 * totalMs(pass) * 1000);
    EXPECT_EQ(plan.plannedMs(), 2 * totalMs(pass));
}

TEST(RunPlan, HugeStayTimesDoNotWrap)
{
    Document doc;
    GlyphTable glyphs;
    setText(doc, 1, "A");
    doc.screen(1).stay = 2000000000;
    FakeEffects fake;
    RunPlan plan(doc, glyphs, range(1, 1), {}, fake.table());
    const Pass pass = plan.nextPass();
    EXPECT_GT(segmentsOf(pass, SegmentKind::Stay)[0]->steps[0].delayMs, 0);
    doc.screen(1).stay = -5;
    RunPlan again(doc, glyphs, range(1, 1), {}, fake.table());
    EXPECT_EQ(segmentsOf(again.nextPass(), SegmentKind::Stay)[0]->steps[0].delayMs, 0);
}

TEST(RunPlan, LiveDisplaysSeeTheTimeTheyStartAt)
{
    Document doc;
    GlyphTable glyphs;
    setText(doc, 1, "A");
    setText(doc, 2, "B");
    doc.screen(1).stay = 61;
    FakeEffects fake;
    RunSettings settings = range(1, 2);
    settings.start = {2026, 12, 31, 23, 59, 30, 4};
    RunPlan plan(doc, glyphs, settings, {}, fake.table());
    plan.nextPass();
    ASSERT_EQ(fake.calls.size(), 4u);
    EXPECT_EQ(fake.calls[0].time.second, 30);
    // Screen 2 enters after 120 + 61000 + 40 ms.
    const LocalTime t = fake.calls[2].time;
    EXPECT_EQ(t.year, 2027);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.minute, 0);
    EXPECT_EQ(t.second, 31);
    EXPECT_EQ(t.weekday, 5);
}

TEST(Dispatch, RandomCodesSkipTheExcludedOnes)
{
    std::vector<int> draws = {11, 19, 27, 31, 24, 5};
    std::size_t next = 0;
    int bound = 0;
    RandomSource random = [&](int b) {
        bound = b;
        return draws[next++ % draws.size()];
    };
    EXPECT_EQ(drawEntryCode(random), 24);
    EXPECT_EQ(bound, 33);
    next = 0;
    EXPECT_EQ(drawExitCode(random), 5);
    next = 0;
    draws = {28, 25, 26, 29};
    EXPECT_EQ(drawExitCode(random), 29);
    // A source that only gives excluded codes still ends.
    EXPECT_EQ(drawEntryCode([](int) { return 11; }), 0);

    FakeEffects fake;
    EffectContext c;
    c.random = [](int) { return 7; };
    EXPECT_EQ(RunEntryEffect(c, 31, fake.table()).code, 7);
    EXPECT_EQ(RunExitEffect(c, 255, fake.table()).steps.size(), 2u);
    EXPECT_TRUE(RunEntryEffect(c, 24).steps.empty());
}

TEST(Dispatch, FirstStepCopiesTheDisplayIntoPrevious)
{
    const EffectTable oneStep = [](int, int) -> EffectRoutine {
        return [](const EffectContext&) { return StepList(1); };
    };
    for (int direction : {1, 2}) {
        Surfaces s = Surfaces::forSignWidth(10);
        s.display.setPixel(0, 0, RgbRed);
        s.display.setPixel(s.W, 0, RgbGreen); // outside the W × H copy
        s.previous.setPixel(s.W + 1, 0, RgbYellow);
        EffectContext c;
        const EffectRun run =
            direction == 1 ? RunEntryEffect(c, 0, oneStep) : RunExitEffect(c, 0, oneStep);
        Player(s).play(Segment{SegmentKind::Entry, 1, run.code, run.steps});
        EXPECT_EQ(s.previous.pixel(0, 0), RgbRed);
        EXPECT_EQ(s.previous.pixel(s.W, 0), RgbBlack);
        EXPECT_EQ(s.previous.pixel(s.W + 1, 0), direction == 1 ? RgbBlack : RgbYellow);
    }
}

TEST(Dispatch, LiveCodesShowThenSlide)
{
    EffectContext c;
    c.rowImage = std::make_shared<const Picture>(164, 18);
    c.split = 3;
    EffectContext follow = c;
    follow.split = 0;
    follow.liveContent = true;
    const std::size_t slide = EffectMoveLeft(follow).size();
    const std::map<int, std::size_t> shown = {{29, 7}, {30, 7}, {33, 1}};
    for (const auto& [code, count] : shown) {
        EXPECT_EQ(RunEntryEffect(c, code).steps.size(), count + slide) << code;
        EXPECT_EQ(RunExitEffect(c, code).steps.size(), count + slide) << code;
    }
}

} // namespace
} // namespace led::sim
