#pragma once

#include "core/render/Picture.h"

#include <string>

namespace led::test {

// A picture as text, one line per row: '.' black, 'R' red, 'G' green, 'Y' yellow, 'B' blue,
// 'L' full green of glyph images, '?' anything else. Goldens are kept in this form.
inline char artChar(Rgb c)
{
    if (c == RgbBlack)
        return '.';
    if (c == RgbRed)
        return 'R';
    if (c == RgbGreen)
        return 'G';
    if (c == RgbYellow)
        return 'Y';
    if (c == RgbBlue)
        return 'B';
    if (c == RgbLime)
        return 'L';
    return '?';
}

inline std::string art(const Picture& p, int x0 = 0, int y0 = 0, int w = -1, int h = -1)
{
    if (w < 0)
        w = p.width() - x0;
    if (h < 0)
        h = p.height() - y0;
    std::string out;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x)
            out += artChar(p.pixel(x, y));
        out += '\n';
    }
    return out;
}

} // namespace led::test
