#pragma once

#include <cstdint>
#include <string_view>

namespace led {

inline constexpr int FontHeight = 16;

// One character of the sign font: 8 × 16 dots for a single byte, 16 × 16 for a double-byte
// Big5 code. A code the font has no glyph for is drawn as a hollow box of the same size.
class FontGlyph
{
public:
    FontGlyph(int width, const std::uint8_t* rows) : m_width(width), m_rows(rows) {}

    int width() const { return m_width; }
    bool exists() const { return m_rows != nullptr; }
    // Dot (x, y), x in 0..width−1, y in 0..15; outside: unlit.
    bool lit(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= FontHeight)
            return false;
        if (!m_rows)
            return boxDot(x, y);
        const int bytesPerRow = m_width / 8;
        const std::uint8_t b = m_rows[y * bytesPerRow + x / 8];
        return (b >> (7 - x % 8)) & 1;
    }

private:
    bool boxDot(int x, int y) const
    {
        const bool inside = x >= 1 && x <= m_width - 2 && y >= 1 && y <= FontHeight - 2;
        return inside && (x == 1 || x == m_width - 2 || y == 1 || y == FontHeight - 2);
    }

    int m_width;
    const std::uint8_t* m_rows;
};

} // namespace led
