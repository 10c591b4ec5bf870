#include "core/render/SignFont.h"
#include "core/sim/Effects.h"
#include "core/sim/LocalClock.h"
#include "core/sim/Sprite.h"
#include "core/text/Cp950.h"

#include <array>
#include <cstdio>
#include <memory>

namespace led::sim {
namespace {

constexpr int ClockPauseMs = 1000;
constexpr int DatePauseMs = 500;
constexpr int TemperaturePauseMs = 1000;
constexpr int AnimationPauseMs = 70;

// Red dots of the sign font on whatever T holds; returns the width drawn.
int drawLiveText(Picture& t, int x, std::string_view text)
{
    const int start = x;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = elementLength(text, pos);
        const FontGlyph glyph = elementGlyph(text.substr(pos, length));
        for (int row = 0; row < FontHeight; ++row)
            for (int col = 0; col < glyph.width(); ++col)
                if (glyph.lit(col, row))
                    t.setPixel(x + col, row, RgbRed);
        x += glyph.width();
        pos += length;
    }
    return x - start;
}

int liveTextWidth(std::string_view text)
{
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = elementLength(text, pos);
        width += elementGlyph(text.substr(pos, length)).width();
        pos += length;
    }
    return width;
}

// Draws `drawn` at (0, 0) of a black W × H picture T and shows T on a black display, placed
// by the width of the text without any leading padding.
Step liveStep(const Bytes& drawn, int measuredWidth, int delayMs, WaitKind wait)
{
    Step step;
    step.draw = [drawn, measuredWidth](Surfaces& s) {
        Picture t(s.W, s.H);
        drawLiveText(t, 0, drawn);
        s.display.fill(RgbBlack);
        s.display.copyFrom(t, 0, 0, s.W, s.H, (s.W - measuredWidth) / 2, (s.H - FontHeight) / 2);
    };
    step.delayMs = delayMs;
    step.wait = wait;
    return step;
}

std::string twoDigits(int v)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", v);
    return buffer;
}

Bytes clockText(const LocalTime& t)
{
    static const std::array<const char*, 10> fullWidth = {"０", "１", "２", "３", "４",
                                                          "５", "６", "７", "８", "９"};
    const std::string digits = twoDigits(t.hour) + twoDigits(t.minute) + twoDigits(t.second);
    std::string utf8;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        utf8 += fullWidth[static_cast<std::size_t>(digits[i] - '0')];
        if (i == 1 || i == 3)
            utf8 += "：";
    }
    return big5(utf8);
}

} // namespace

std::string FormatRocDate(const LocalTime& t)
{
    static const std::array<const char*, 7> weekdays = {"星期日", "星期一", "星期二", "星期三",
                                                        "星期四", "星期五", "星期六"};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d/%2d/%2d ", t.year - 1911, t.month, t.day);
    const int weekday = t.weekday >= 0 && t.weekday <= 6 ? t.weekday : 0;
    return std::string(buffer) + weekdays[static_cast<std::size_t>(weekday)];
}

StepList ShowClock(const EffectContext& c)
{
    StepList steps;
    for (int k = 0; k < c.speed + 1; ++k) {
        // Each picture shows the time one second after the one before.
        const Bytes text = clockText(addSeconds(c.time, k));
        steps.push_back(liveStep(text, liveTextWidth(text), ClockPauseMs, WaitKind::Pause));
    }
    return steps;
}

StepList ShowDate(const EffectContext& c)
{
    StepList steps;
    for (int k = 0; k < c.speed + 1; ++k) {
        const Bytes text = big5(FormatRocDate(addSeconds(c.time, k * DatePauseMs / 1000)));
        // Two leading spaces put the date right of the centre by their width.
        steps.push_back(
            liveStep(Bytes("  ") + text, liveTextWidth(text), DatePauseMs, WaitKind::Busy));
    }
    return steps;
}

StepList ShowTemperature(const EffectContext&)
{
    const Bytes text = big5("現在溫度 XX °C");
    return {liveStep(text, liveTextWidth(text), TemperaturePauseMs, WaitKind::Pause)};
}

StepList EffectAnimation(const EffectContext& c)
{
    const std::shared_ptr<const Picture> row =
        c.rowImage ? c.rowImage : std::make_shared<const Picture>();
    const std::shared_ptr<const Picture> left =
        c.splitStart != 0 && c.splitStartImage ? c.splitStartImage : row;
    const bool split = c.split != 0 && c.split != 255;
    const bool entry = c.direction == 1;
    const int x0 = split ? c.x0() : 0;
    const int y = c.y;
    const int W = row->width();

    StepList steps;
    for (int i = 0; i <= W; ++i) {
        Step step;
        const Picture* frame = &spriteFrame(i % 2);
        step.draw = [row, left, split, entry, x0, y, W, i, frame](Surfaces& s) {
            Picture& d = s.display;
            const int h = s.H;
            if (entry) {
                d.copyFrom(*frame, 0, 0, SpriteWidth, SpriteHeight, x0 + i, y);
                d.copyFrom(*row, x0 + i, 0, 1, h, x0 + i, y);
            } else if (!split) {
                d.copyFrom(*row, i + SpriteWidth, 0, W - i, h, i + SpriteWidth, y);
                d.copyFrom(*frame, 0, 0, SpriteWidth, SpriteHeight, i, y);
                d.fillRect(0, y, i, h, RgbBlack);
            } else if (i <= x0) {
                d.copyFrom(*left, 0, 0, x0, h, 0, y);
            } else {
                d.copyFrom(*frame, 0, 0, SpriteWidth, SpriteHeight, i, y);
                d.fillRect(x0, y, i - x0, h, RgbBlack);
            }
        };
        step.delayMs = AnimationPauseMs;
        steps.push_back(std::move(step));
    }
    return steps;
}

} // namespace led::sim
