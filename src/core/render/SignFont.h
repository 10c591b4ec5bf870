#pragma once

#include "core/render/FontGlyph.h"

#include <cstdint>
#include <string_view>

namespace led {

// The sign font, built from GNU Unifont: printable ASCII and every double-byte code page
// 950 character. One text byte is one 8-dot cell.
inline constexpr int NarrowWidth = 8;
inline constexpr int WideWidth = 16;

FontGlyph narrowGlyph(std::uint8_t byte);
FontGlyph wideGlyph(std::uint8_t lead, std::uint8_t trail);
// One text element: 16 dots wide for two bytes, 8 for one.
FontGlyph elementGlyph(std::string_view element);

} // namespace led
