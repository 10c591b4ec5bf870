#pragma once

#include "core/text/Big5.h"

#include <vector>

namespace led {

inline constexpr int PaletteSymbolCount = 109;
inline constexpr int GlyphPageSize = 10;
inline constexpr int GlyphPageCount = 10;

// The symbol palette's Big5 symbols in column order (⊕ and ⊙ appear twice).
const std::vector<Bytes>& paletteSymbols();

// Glyph n of palette page p, column k; -1 outside the palette.
int paletteGlyph(int page, int column);

} // namespace led
