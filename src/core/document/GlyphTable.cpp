#include "core/document/GlyphTable.h"

#include <algorithm>
#include <cstring>

namespace led {

GlyphTable GlyphTable::blank()
{
    GlyphTable t;
    for (int g = 0; g < GlyphCount; ++g)
        std::fill_n(t.record(g) + GlyphColourCode, GlyphRecordSize - GlyphColourCode, 0x01);
    return t;
}

int GlyphTable::load(std::string_view image)
{
    const std::size_t whole = std::min(image.size(), GlyphTableSize) / GlyphRecordSize;
    std::memcpy(m_bytes.data(), image.data(), whole * GlyphRecordSize);
    return static_cast<int>(whole);
}

void GlyphTable::setPixel(int glyph, int x, int y, bool red, bool green)
{
    m_bytes[pixelAt(glyph, GlyphRedPlane, x, y)] = red ? 1 : 0;
    m_bytes[pixelAt(glyph, GlyphGreenPlane, x, y)] = green ? 1 : 0;
}

} // namespace led
