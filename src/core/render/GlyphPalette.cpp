#include "core/render/GlyphPalette.h"

#include "core/render/LineImage.h"

namespace led {

void renderGlyphPage(const GlyphTable& glyphs, int page, Picture& strip)
{
    strip.resize(PaletteStripWidth, PaletteStripHeight);
    for (int k = 0; k < PaletteCells; ++k)
        Showimage(glyphs, PaletteCells * page + k, strip, GlyphSize * k, 0);
}

Picture renderGlyphPage(const GlyphTable& glyphs, int page)
{
    Picture strip;
    renderGlyphPage(glyphs, page, strip);
    return strip;
}

void paintGlyphCell(const Picture& strip, int k, Picture& palette)
{
    if (k < 0 || k >= PaletteCells)
        return;
    palette.copyFrom(strip, GlyphSize * k, 0, GlyphSize, GlyphSize, PaletteCellPitch * k, 0);
}

} // namespace led
