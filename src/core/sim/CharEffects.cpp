// Character, pixel and exit-only effects.
#include "core/sim/Effects.h"

#include "core/text/Attributes.h"

#include <cstdint>
#include <utility>

namespace led::sim {

namespace {

constexpr int Cell = 8; // one text byte of a line image
constexpr int SplitRelease = 255;

bool hasSplit(const EffectContext& c)
{
    return c.split != 0 && c.split != SplitRelease;
}

// The split boundary; "解除" counts as no split.
int boundary(const EffectContext& c)
{
    return hasSplit(c) ? c.x0() : 0;
}

using PicturePtr = std::shared_ptr<const Picture>;

// A missing picture behaves as an empty one, so a step never dereferences null.
PicturePtr orEmpty(const PicturePtr& p)
{
    return p ? p : std::make_shared<const Picture>();
}

Step step(std::function<void(Surfaces&)> draw, int delayMs)
{
    Step s;
    s.draw = std::move(draw);
    s.delayMs = delayMs;
    return s;
}

std::uint8_t byteAt(const Bytes& b, int i)
{
    return i < static_cast<int>(b.size()) ? static_cast<std::uint8_t>(b[i]) : 0;
}

bool isWideAt(const EffectContext& c, int i)
{
    return (byteAt(c.attr, i) & AttrWide) != 0;
}

bool isLeadAt(const EffectContext& c, int i)
{
    return i < static_cast<int>(c.text.size()) && isSystemLeadByte(byteAt(c.text, i));
}

// Width in bytes of the character at i as the flying characters take it.
int shootWidth(const EffectContext& c, int i)
{
    if (isWideAt(c, i))
        return 4;
    return isLeadAt(c, i) ? 2 : 1;
}

// A wide character jumps in two halves, so it counts as a double-byte one.
int jumpWidth(const EffectContext& c, int i)
{
    return isWideAt(c, i) || isLeadAt(c, i) ? 2 : 1;
}

Rgb inverted(Rgb p, bool singleColour)
{
    if (singleColour) {
        if (p == RgbBlack)
            return RgbRed;
        return RgbBlack;
    }
    if (p == RgbBlack)
        return RgbYellow;
    if (p == RgbRed)
        return RgbGreen;
    if (p == RgbGreen)
        return RgbRed;
    return RgbBlack;
}

// Writes the inverse of source into target over the area that blinks: the frame of one
// column on the left, one row on top and seven rows at the bottom stays black.
void invertInto(const Picture& source, Picture& target, bool singleColour)
{
    for (int r = 1; r <= target.height() - 7; ++r)
        for (int x = 1; x <= target.width() - 1; ++x)
            target.setPixel(x, r, inverted(source.pixel(x, r), singleColour));
}

struct InverseFrames
{
    Picture a; // the picture
    Picture b; // its inverse
    Picture c; // the inverse of the split-start screen
};

InverseFrames inverseFrames(const Picture& row, const Picture* splitStart, int y, int width,
                            int height, bool singleColour)
{
    InverseFrames f{Picture(width, height), Picture(width, height), Picture(width, height)};
    f.a.copyFrom(row, 0, 0, row.width(), row.height(), 0, y);
    invertInto(f.a, f.b, singleColour);
    if (splitStart) {
        // Over the same area as the picture's inverse, so both halves blink alike.
        Picture left(width, height);
        left.copyFrom(*splitStart, 0, 0, splitStart->width(), splitStart->height(), 0, 0);
        invertInto(left, f.c, singleColour);
    }
    return f;
}

} // namespace

StepList EffectInstant(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const int x0 = boundary(c);
    const int y = c.y;
    const bool entry = c.direction == 1;
    return {step(
        [row, x0, y, entry](Surfaces& s) {
            if (entry)
                s.display.copyFrom(*row, x0, 0, s.W, s.H, x0, y);
            else
                s.display.fillRect(x0, y, s.W, s.H, RgbBlack);
        },
        150)};
}

StepList EffectStripes(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const int x0 = boundary(c);
    const bool entry = c.direction == 1;
    constexpr int Passes = 20;
    StepList steps;
    for (int p = 0; p < Passes; ++p) {
        steps.push_back(step(
            [row, x0, entry, p](Surfaces& s) {
                Picture& d = s.display;
                const int first = x0 + ((p - x0) % Passes + Passes) % Passes;
                for (int x = first; x < d.width(); x += Passes)
                    for (int r = 0; r < d.height(); ++r) {
                        if (!entry)
                            d.setPixel(x, r, RgbBlack);
                        else if (row->contains(x, r))
                            d.setPixel(x, r, row->pixel(x, r));
                    }
            },
            30));
    }
    return steps;
}

// "射出" runs the entry sequence again: the characters fly in once more.
StepList EffectShoot(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const int W = row->width();
    const int H = row->height();
    const int x0 = boundary(c);
    const int y = c.y;
    StepList steps;
    int b = 0;
    for (int i = 0; i <= W / Cell - 1;) {
        const int w = shootWidth(c, i);
        const int cw = w * Cell;
        for (int t = b; t <= W - 1; ++t) {
            const int x = W - 1 + b - t + x0;
            steps.push_back(step(
                [row, x, b, x0, cw, y, H](Surfaces& s) {
                    s.display.copyFrom(*row, b + x0, 0, cw, H, x, y);
                    s.display.fillRect(x + cw, y, s.display.width() - (x + cw), H, RgbBlack);
                },
                10));
        }
        b += cw;
        i += w;
    }
    return steps;
}

StepList EffectJump(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const int W = row->width();
    const int H = row->height();
    const int x0 = boundary(c);
    const int y = c.y;
    StepList steps;
    for (int i = 0; i <= W / Cell - 1;) {
        const int w = jumpWidth(c, i);
        const int x = x0 + i * Cell;
        if (c.direction == 1) {
            steps.push_back(
                step([row, x, w, y,
                      H](Surfaces& s) { s.display.copyFrom(*row, x, 0, w * Cell, H, x, y); },
                     150));
        } else {
            if (x > W)
                break;
            steps.push_back(
                step([x, w, y, H](Surfaces& s) { s.display.fillRect(x, y, w * Cell, H, RgbBlack); },
                     150));
        }
        i += w;
    }
    return steps;
}

StepList EffectRain(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const int W = row->width();
    const int H = row->height();
    const int x0 = boundary(c);
    const int y = c.y;
    const bool entry = c.direction == 1;
    StepList steps;
    auto copyRow = [&](int sourceRow, int targetRow) {
        steps.push_back(
            step([row, x0, W, sourceRow, targetRow](
                     Surfaces& s) { s.display.copyFrom(*row, x0, sourceRow, W, 1, x0, targetRow); },
                 10));
    };
    if (entry) {
        for (int i = 1; i <= H; ++i)
            for (int r = 0; r <= H - i; ++r)
                copyRow(H - i, y + r);
    } else {
        for (int i = H; i >= 1; --i)
            for (int r = 1; r <= H - i; ++r)
                copyRow(H - i, y + r);
    }
    // The exit leaves the panel right of the boundary black; with a split, that part would
    // otherwise keep the smeared bottom row and the untouched top row.
    steps.push_back(step(
        [entry, x0](Surfaces& s) {
            if (!entry)
                s.display.fillRect(x0, 0, s.display.width() - x0, s.display.height(), RgbBlack);
        },
        delayD(c.speed)));
    return steps;
}

StepList EffectSnow(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const bool split = hasSplit(c);
    const int x0 = boundary(c);
    const int y = c.y;
    const bool entry = c.direction == 1;
    constexpr int Passes = 10;
    StepList steps;
    for (int p = 0; p < Passes; ++p) {
        steps.push_back(step(
            [row, split, x0, y, entry, p](Surfaces& s) {
                Picture& d = s.display;
                // The work picture: R on black at (0, y); its pixel (x, r) is R's (x, r - y).
                auto work = [&](int x, int r) { return row->pixel(x, r - y); };
                for (int r = 0; r < d.height(); ++r)
                    for (int x = 0; x < d.width(); ++x) {
                        if ((x * x + r * r) % Passes != p)
                            continue;
                        if (!entry) {
                            // Column x0 stays: it belongs to the part left of the boundary.
                            if (x > x0)
                                d.setPixel(x, r, RgbBlack);
                        } else if (split) {
                            if (d.contains(x0 + x, r))
                                d.setPixel(x0 + x, r, work(x0 + x, r));
                        } else {
                            d.setPixel(x, r, work(x, r));
                        }
                    }
            },
            180));
    }
    return steps;
}

StepList EffectStop(const EffectContext&)
{
    Step s;
    s.flag = StepFlag::RequestStop;
    return {s};
}

StepList EffectBlink(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const PicturePtr left = c.splitStart != 0 ? orEmpty(c.splitStartImage) : row;
    const int x0 = boundary(c);
    StepList steps;
    if (!hasSplit(c)) {
        // The picture drawn here is blackened before it is shown: 0.8 s of black.
        for (int k = 0; k < 8; ++k)
            steps.push_back(
                step([](Surfaces& s) { s.display.fillRect(0, 0, s.W, s.H, RgbBlack); }, 100));
    }
    for (int i = 1; i <= 9; ++i) {
        steps.push_back(step(
            [row, left, x0](Surfaces& s) {
                s.display.copyFrom(*left, 0, 0, x0, s.H, 0, 0);
                s.display.copyFrom(*row, x0 + 1, 0, s.W, s.H, x0 + 1, 0);
            },
            800));
        const bool last = i == 9;
        steps.push_back(step(
            [x0, last](Surfaces& s) {
                if (last)
                    s.display.fillRect(x0, 0, s.display.width() - x0, s.H, RgbBlack);
                else
                    s.display.fillRect(0, 0, s.W, s.H, RgbBlack);
            },
            100));
    }
    return steps;
}

StepList EffectInverseBlink(const EffectContext& c)
{
    const PicturePtr row = orEmpty(c.rowImage);
    const PicturePtr start = c.splitStart != 0 ? c.splitStartImage : nullptr;
    const bool split = hasSplit(c);
    const int x0 = boundary(c);
    const int y = c.y;
    const bool singleColour = c.colorSet == 1;
    // The frames take the display's size, known only when the steps are played.
    auto frames = [row, start, y, singleColour](const Surfaces& s) {
        return inverseFrames(*row, start.get(), y, s.display.width(), s.display.height(),
                             singleColour);
    };
    StepList steps;
    for (int k = 0; k < 2; ++k) {
        steps.push_back(step(
            [frames, split, x0](Surfaces& s) {
                const InverseFrames f = frames(s);
                if (!split) {
                    s.display.copyFrom(f.b, 0, 0, s.W, s.H, 0, 0);
                    return;
                }
                s.display.copyFrom(f.c, 0, 0, x0, s.H, 0, 0);
                s.display.copyFrom(f.b, x0, 0, s.W, s.H, x0, 0);
            },
            500));
        steps.push_back(step(
            [row, start, y, split, x0](Surfaces& s) {
                Picture a(s.display.width(), s.display.height());
                a.copyFrom(*row, 0, 0, row->width(), row->height(), 0, y);
                if (!split || !start) {
                    s.display.copyFrom(a, 0, 0, s.W, s.H, 0, 0);
                    return;
                }
                s.display.copyFrom(*start, 0, 0, x0, s.H, 0, 0);
                s.display.copyFrom(a, x0, 0, s.W, s.H, x0, 0);
            },
            500));
    }
    return steps;
}

StepList EffectPause(const EffectContext&)
{
    return {step({}, 10000)};
}

} // namespace led::sim
