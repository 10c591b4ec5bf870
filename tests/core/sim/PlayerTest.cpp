#include "core/sim/Player.h"

#include <gtest/gtest.h>

namespace led::sim {
namespace {

TEST(Player, TimelineAndSnapshotsFollowTheSteps)
{
    Surfaces s = Surfaces::forSignWidth(1);
    Segment seg{SegmentKind::Entry, 7, 3, {}};
    for (int x = 0; x < 3; ++x) {
        Step step;
        step.draw = [x](Surfaces& d) { d.display.setPixel(x, 0, RgbRed); };
        step.delayMs = 20 * (x + 1);
        seg.steps.push_back(step);
    }
    seg.steps.push_back(Step{{}, -5, WaitKind::Busy, StepFlag::None}); // a pure wait

    std::vector<int> lit;
    Player player(s, [&](const Picture& d, const TimelineEntry&) {
        int n = 0;
        for (Rgb c : d.pixels())
            n += c == RgbRed;
        lit.push_back(n);
    });
    player.play(seg);
    EXPECT_EQ(lit, (std::vector<int>{1, 2, 3, 3}));
    ASSERT_EQ(player.timeline().size(), 4u);
    const long long starts[] = {0, 20000, 60000, 120000};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(player.timeline()[i].startUs, starts[i]);
        EXPECT_EQ(player.timeline()[i].screen, 7);
        EXPECT_EQ(player.timeline()[i].code, 3);
    }
    // A negative delay cannot turn the clock back.
    EXPECT_EQ(player.timeline()[3].delayMs, 0);
    EXPECT_EQ(player.nowUs(), 120000);
}

} // namespace
} // namespace led::sim
