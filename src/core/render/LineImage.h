#pragma once

#include "core/document/GlyphTable.h"
#include "core/render/Picture.h"
#include "core/text/Attributes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace led {

// The row image laid over a grid row's text field: one text byte is one 8-dot cell.
inline constexpr int RowImageHeight = 18;
constexpr int rowImageWidth(int maxLength)
{
    return 8 * maxLength + 4;
}
inline constexpr int GlyphSize = 16;

// What the row image is drawn from: the field's text, the row buffer's attribute string
// (one byte per text byte), and the field's selection while it has the focus.
struct RowView
{
    std::string_view text;
    std::string_view attr;
    std::size_t selStart = 0;
    std::size_t selLength = 0;
    bool focused = false;
};

Rgb signRgb(SignColour colour);
// The colour a shadowed character casts, by its foreground and background.
SignColour shadowColour(SignColour fore, SignColour back);

// Draws one element's characters with the foreground of attr on the brush colour; a wide
// character is drawn double width (each font column twice). Returns the width drawn.
int drawText(int x, int y, std::uint8_t attr, Picture& image, std::string_view text, Rgb brush,
             bool wide = false);

// Draws the row image into image, resized to the row's size (maxLength bytes).
void Redraw(Picture& image, const RowView& row, int maxLength, const GlyphTable& glyphs);
Picture Redraw(const RowView& row, int maxLength, const GlyphTable& glyphs);

// User glyph n as a 16 × 16 picture; a number outside 0..99 gives a black square.
void Showimage(const GlyphTable& glyphs, int n, Picture& image, int x, int y);
Picture Showimage(const GlyphTable& glyphs, int n);

} // namespace led
