#pragma once

#include "core/render/Rgb.h"

#include <vector>

namespace led {

// An RGB raster, (0, 0) at the top left. Every access outside it is ignored or clipped.
class Picture
{
public:
    Picture() = default;
    Picture(int width, int height, Rgb colour = RgbBlack);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Keeps the pixel buffer when the size is unchanged, so redrawing allocates nothing.
    void resize(int width, int height, Rgb colour = RgbBlack);
    void fill(Rgb colour);
    void fillRect(int x, int y, int w, int h, Rgb colour);

    // Outside the picture: black.
    Rgb pixel(int x, int y) const { return contains(x, y) ? m_pixels[index(x, y)] : RgbBlack; }
    void setPixel(int x, int y, Rgb colour)
    {
        if (contains(x, y))
            m_pixels[index(x, y)] = colour;
    }

    // Copies the w × h rectangle at (sx, sy) of source to (dx, dy), clipped to both.
    void copyFrom(const Picture& source, int sx, int sy, int w, int h, int dx, int dy);
    // The same, leaving out every source pixel of the transparent colour.
    void copyTransparent(const Picture& source, int sx, int sy, int w, int h, int dx, int dy,
                         Rgb transparent);

    const std::vector<Rgb>& pixels() const { return m_pixels; }
    bool operator==(const Picture&) const = default;

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }
    template <typename Pass>
    void copyRect(const Picture& source, int sx, int sy, int w, int h, int dx, int dy, Pass pass);

    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};

} // namespace led
