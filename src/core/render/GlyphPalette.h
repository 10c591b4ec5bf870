#pragma once

#include "core/document/GlyphTable.h"
#include "core/render/Picture.h"

namespace led {

// The glyph palette shows ten glyphs a page, one 16 × 16 cell each at a 17-dot pitch (the
// grid lines between them), painted from a strip of the page's rendered glyphs.
inline constexpr int PaletteCells = 10;
inline constexpr int PalettePages = 10;
inline constexpr int PaletteStripWidth = 222;
inline constexpr int PaletteStripHeight = 16;
inline constexpr int PaletteCellPitch = 17;

// Glyph 10 × page + k of the table at x = 16k of the strip (resized to 222 × 16).
void renderGlyphPage(const GlyphTable& glyphs, int page, Picture& strip);
Picture renderGlyphPage(const GlyphTable& glyphs, int page);

// Cell k (0..9) of the palette: the strip's 16 × 16 dots at x = 16k copied to x = 17k.
void paintGlyphCell(const Picture& strip, int k, Picture& palette);

} // namespace led
