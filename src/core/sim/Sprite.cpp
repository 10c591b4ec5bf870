#include "core/sim/Sprite.h"

#include <array>

namespace led::sim {
namespace {

void drawEater(Picture& p, bool mouthOpen)
{
    // A disc of radius 8 round (9.5, 9.5); the open mouth is a wedge to the right.
    for (int y = 0; y < SpriteHeight; ++y)
        for (int x = 0; x < 20; ++x) {
            const double dx = x - 9.5;
            const double dy = y - 9.5;
            if (dx * dx + dy * dy > 8.5 * 8.5)
                continue;
            const bool mouth =
                mouthOpen ? dx > 0 && (dy < 0 ? -dy : dy) < dx * 0.8 : dx > 0 && dy > -1 && dy < 1;
            if (!mouth)
                p.setPixel(x, y, RgbYellow);
        }
    p.setPixel(9, 5, RgbBlack);
    p.setPixel(10, 5, RgbBlack);
}

void drawChaser(Picture& p, int left, Rgb body, bool lookRight)
{
    // Nine wide, rounded on top, a ragged hem at the bottom.
    for (int y = 4; y < 17; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool corner = y == 4 && (x < 2 || x > 6);
            const bool hem = y == 16 && x % 3 == 1;
            if (!corner && !hem)
                p.setPixel(left + x, y, body);
        }
    for (int eye : {1, 5}) {
        p.fillRect(left + eye, 7, 3, 3, RgbWhite);
        p.setPixel(left + eye + (lookRight ? 2 : 0), 8, RgbBlack);
    }
}

Picture makeFrame(int index)
{
    Picture p(SpriteWidth, SpriteHeight);
    const bool first = index == 0;
    drawEater(p, first);
    drawChaser(p, 21, RgbGreen, !first);
    drawChaser(p, 31, RgbRed, !first);
    return p;
}

} // namespace

const Picture& spriteFrame(int index)
{
    static const std::array<Picture, 2> frames = {makeFrame(0), makeFrame(1)};
    return frames[static_cast<std::size_t>(index & 1)];
}

} // namespace led::sim
