#include "core/render/SignFont.h"
#include "core/sim/Effects.h"
#include "core/sim/LocalClock.h"
#include "core/sim/Player.h"
#include "core/sim/Sprite.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led::sim {
namespace {

LocalTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    // The weekday comes from the date.
    return addSeconds(LocalTime{y, mo, d, h, mi, s, 0}, 0);
}

// Plays steps[0..count) on fresh 10-character surfaces.
Surfaces playFirst(const StepList& steps, std::size_t count)
{
    Surfaces s = Surfaces::forSignWidth(10);
    Segment seg;
    seg.steps.assign(steps.begin(), steps.begin() + static_cast<long>(count));
    Player(s).play(seg);
    return s;
}

// The text stands red on black in the sign font at (x, y) of the display, black around it.
::testing::AssertionResult showsText(const Picture& d, int x, int y, const std::string& utf8)
{
    const Bytes text = big5(utf8);
    int cx = x;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = elementLength(text, pos);
        const FontGlyph g = elementGlyph(std::string_view(text).substr(pos, length));
        for (int r = 0; r < FontHeight; ++r)
            for (int c = 0; c < g.width(); ++c)
                if (d.pixel(cx + c, y + r) != (g.lit(c, r) ? RgbRed : RgbBlack))
                    return ::testing::AssertionFailure() << "at " << cx + c << "," << y + r;
        cx += g.width();
        pos += length;
    }
    for (int r = 0; r < d.height(); ++r)
        for (int c = 0; c < d.width(); ++c)
            if ((c < x || c >= cx || r < y || r >= y + FontHeight) && d.pixel(c, r) != RgbBlack)
                return ::testing::AssertionFailure() << "stray dot at " << c << "," << r;
    return ::testing::AssertionSuccess();
}

TEST(LiveContent, RocDates)
{
    struct Case
    {
        LocalTime t;
        const char* text;
    };
    const Case cases[] = {
        {at(2026, 12, 9), "115/12/ 9 星期三"},
        {at(2026, 3, 1), "115/ 3/ 1 星期日"},
        {at(2011, 10, 10), "100/10/10 星期一"},
        {at(1999, 1, 2), "88/ 1/ 2 星期六"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatRocDate(c.t), c.text);
    EXPECT_EQ(big5(FormatRocDate(at(2026, 12, 9))).size(), 16u);
}

TEST(LiveContent, ClockTicksEverySecondCentred)
{
    EffectContext c;
    c.time = at(2026, 12, 9, 9, 5, 7);
    const StepList steps = ShowClock(c);
    ASSERT_EQ(steps.size(), 7u);
    for (const Step& s : steps) {
        EXPECT_EQ(s.delayMs, 1000);
        EXPECT_EQ(s.wait, WaitKind::Pause);
    }
    // Eight full-width characters, 128 dots, on a 164-dot line: (164 − 128) / 2 = 18.
    EXPECT_TRUE(showsText(playFirst(steps, 1).display, 18, 1, "０９：０５：０７"));
    EXPECT_TRUE(showsText(playFirst(steps, 7).display, 18, 1, "０９：０５：１３"));

    c.time = at(2026, 12, 31, 23, 59, 58);
    EXPECT_TRUE(showsText(playFirst(ShowClock(c), 3).display, 18, 1, "００：００：００"));
}

TEST(LiveContent, DateStandsTwoSpacesRightOfCentre)
{
    EffectContext c;
    c.time = at(2026, 12, 1, 12);
    const StepList steps = ShowDate(c);
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].delayMs, 500);
    EXPECT_EQ(steps[0].wait, WaitKind::Busy);
    EXPECT_TRUE(showsText(playFirst(steps, 1).display, 18 + 16, 1, "115/12/ 1 星期二"));
}

TEST(LiveContent, TemperatureOnce)
{
    EffectContext c;
    c.speed = 2;
    const StepList steps = ShowTemperature(c);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].delayMs, 1000);
    EXPECT_EQ(big5("現在溫度 XX °C"), Bytes("\xB2\x7B\xA6\x62\xB7\xC5\xAB\xD7 XX \xA2\x58"
                                            "C"));
    EXPECT_TRUE(showsText(playFirst(steps, 1).display, (164 - 120) / 2, 1, "現在溫度 XX °C"));
    // The speed level sets how often the clock repeats.
    EXPECT_EQ(ShowClock(c).size(), 3u);
}

TEST(Sprite, TwoFramesOfTheDescribedColours)
{
    const Picture& a = spriteFrame(0);
    const Picture& b = spriteFrame(1);
    EXPECT_EQ(a.width(), SpriteWidth);
    EXPECT_EQ(a.height(), SpriteHeight);
    EXPECT_NE(a, b);
    for (const Picture* p : {&a, &b}) {
        int yellow = 0, green = 0, red = 0;
        for (Rgb c : p->pixels()) {
            yellow += c == RgbYellow;
            green += c == RgbGreen;
            red += c == RgbRed;
        }
        EXPECT_GT(yellow, 100);
        EXPECT_GT(green, 50);
        EXPECT_GT(red, 50);
    }
    // The open mouth faces right; closed, the right edge of the disc is yellow.
    EXPECT_EQ(a.pixel(16, 12), RgbBlack);
    EXPECT_EQ(b.pixel(16, 12), RgbYellow);
    // Yellow stays in the left half, the two figures in the right.
    for (int y = 0; y < SpriteHeight; ++y)
        for (int x = 20; x < SpriteWidth; ++x)
            EXPECT_NE(a.pixel(x, y), RgbYellow);
}

class Animation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Picture r(164, 18, RgbGreen);
        row = std::make_shared<const Picture>(r);
        Picture l(164, 18, RgbYellow);
        left = std::make_shared<const Picture>(l);
        c.rowImage = row;
    }
    Surfaces play(std::size_t count, Rgb start)
    {
        Surfaces s = Surfaces::forSignWidth(10);
        s.display.fill(start);
        const StepList steps = EffectAnimation(c);
        Segment seg;
        seg.steps.assign(steps.begin(), steps.begin() + static_cast<long>(count));
        Player(s).play(seg);
        return s;
    }
    EffectContext c;
    std::shared_ptr<const Picture> row, left;
};

TEST_F(Animation, EntryRevealsBehindTheSprite)
{
    const StepList steps = EffectAnimation(c);
    ASSERT_EQ(steps.size(), 165u);
    EXPECT_EQ(steps[0].delayMs, 70);
    Surfaces s = play(1, RgbRed);
    EXPECT_EQ(s.display.pixel(0, 5), RgbGreen);
    EXPECT_EQ(s.display.pixel(10, 10), RgbYellow); // the sprite's body
    EXPECT_EQ(s.display.pixel(41, 5), RgbRed);     // ahead of it, the old picture
    s = play(165, RgbRed);
    for (int x = 0; x < 164; ++x)
        EXPECT_EQ(s.display.pixel(x, 9), RgbGreen) << x;
}

TEST_F(Animation, EntryWithSplitStartsAtTheBoundary)
{
    c.split = 3;
    Surfaces s = play(1, RgbRed);
    EXPECT_EQ(s.display.pixel(48, 5), RgbGreen);
    EXPECT_EQ(s.display.pixel(47, 5), RgbRed);
    EXPECT_EQ(s.display.pixel(58, 10), RgbYellow);
}

TEST_F(Animation, ExitLeavesBlackBehind)
{
    c.direction = 2;
    Surfaces s = play(11, RgbRed);
    EXPECT_EQ(s.display.pixel(9, 5), RgbBlack);
    EXPECT_EQ(s.display.pixel(60, 5), RgbGreen); // redrawn ahead of the sprite
    s = play(165, RgbRed);
    for (int x = 0; x < 164; ++x)
        EXPECT_EQ(s.display.pixel(x, 9), RgbBlack) << x;
}

TEST_F(Animation, ExitWithSplitKeepsTheLeftPart)
{
    c.direction = 2;
    c.split = 2;
    c.splitStart = 4;
    c.splitStartImage = left;
    Surfaces s = play(5, RgbRed);
    EXPECT_EQ(s.display.pixel(31, 5), RgbYellow);
    EXPECT_EQ(s.display.pixel(40, 5), RgbRed); // no sprite yet
    s = play(165, RgbRed);
    EXPECT_EQ(s.display.pixel(31, 5), RgbYellow);
    for (int x = 32; x < 164; ++x)
        EXPECT_EQ(s.display.pixel(x, 9), RgbBlack) << x;
    // Without a split-start screen the left part comes from the screen itself.
    c.splitStart = 0;
    s = play(165, RgbRed);
    EXPECT_EQ(s.display.pixel(31, 5), RgbGreen);
}

} // namespace
} // namespace led::sim
