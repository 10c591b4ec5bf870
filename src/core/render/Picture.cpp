#include "core/render/Picture.h"

#include <algorithm>

namespace led {

Picture::Picture(int width, int height, Rgb colour)
{
    resize(width, height, colour);
}

void Picture::resize(int width, int height, Rgb colour)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), colour);
}

void Picture::fill(Rgb colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colour);
}

void Picture::fillRect(int x, int y, int w, int h, Rgb colour)
{
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + w, m_width);
    const int y1 = std::min(y + h, m_height);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col)
            m_pixels[index(col, row)] = colour;
}

template <typename Pass>
void Picture::copyRect(const Picture& source, int sx, int sy, int w, int h, int dx, int dy,
                       Pass pass)
{
    // Clip the rectangle against the source, then against this picture.
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, source.m_width - sx, m_width - dx});
    h = std::min({h, source.m_height - sy, m_height - dy});
    if (w <= 0 || h <= 0)
        return;
    // Row by row through a copy when both are the same picture, so overlaps stay right.
    const Picture* from = &source;
    Picture copy;
    if (from == this) {
        copy = source;
        from = &copy;
    }
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const Rgb c = from->m_pixels[from->index(sx + col, sy + row)];
            if (pass(c))
                m_pixels[index(dx + col, dy + row)] = c;
        }
}

void Picture::copyFrom(const Picture& source, int sx, int sy, int w, int h, int dx, int dy)
{
    copyRect(source, sx, sy, w, h, dx, dy, [](Rgb) { return true; });
}

void Picture::copyTransparent(const Picture& source, int sx, int sy, int w, int h, int dx, int dy,
                              Rgb transparent)
{
    copyRect(source, sx, sy, w, h, dx, dy, [transparent](Rgb c) { return !(c == transparent); });
}

} // namespace led
