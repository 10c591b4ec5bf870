#include "core/render/LineImage.h"

#include "core/render/SignFont.h"
#include "core/text/Big5.h"

namespace led {
namespace {

// Text rows start one dot down, so the 16-dot font sits between the image's blank edges.
constexpr int TextTop = 1;

// Writes the characters opaquely: the brush fills the cell, lit dots take the colour.
int writeText(Picture& image, int x, int y, std::string_view text, Rgb colour, Rgb brush, bool wide)
{
    const FontGlyph glyph = elementGlyph(text);
    const int scale = wide ? 2 : 1;
    const int width = glyph.width() * scale;
    image.fillRect(x, y, width, FontHeight, brush);
    for (int row = 0; row < FontHeight; ++row)
        for (int col = 0; col < width; ++col)
            if (glyph.lit(col / scale, row))
                image.setPixel(x + col, y + row, colour);
    return width;
}

std::uint8_t attrAt(std::string_view attr, std::size_t pos)
{
    // A short attribute string (damaged data) draws the rest red on black.
    return pos < attr.size() ? static_cast<std::uint8_t>(attr[pos]) : AttrForeRed;
}

} // namespace

Rgb signRgb(SignColour colour)
{
    switch (colour) {
    case SignColour::Red:
        return RgbRed;
    case SignColour::Green:
        return RgbGreen;
    case SignColour::Yellow:
        return RgbYellow;
    case SignColour::Black:
        break;
    }
    return RgbBlack;
}

SignColour shadowColour(SignColour fore, SignColour back)
{
    using C = SignColour;
    // Rows by foreground, columns by background: black, red, green, yellow.
    static constexpr C table[4][4] = {
        {C::Yellow, C::Yellow, C::Yellow, C::Green},
        {C::Yellow, C::Green, C::Yellow, C::Green},
        {C::Red, C::Yellow, C::Yellow, C::Red},
        {C::Green, C::Green, C::Red, C::Green},
    };
    return table[static_cast<int>(fore)][static_cast<int>(back)];
}

int drawText(int x, int y, std::uint8_t attr, Picture& image, std::string_view text, Rgb brush,
             bool wide)
{
    SignColour fore = foreColour(attr);
    if (!(attr & AttrShadow))
        return writeText(image, x, TextTop, text, signRgb(fore), brush, wide);

    const SignColour back = backColour(attr);
    const SignColour shadow = shadowColour(fore, back);
    // The main text must differ from the ground it is laid back with.
    if (fore == back && fore != SignColour::Red)
        fore = fore == SignColour::Green ? SignColour::Black : SignColour::Red;
    const int width = writeText(image, x, TextTop, text, signRgb(fore), brush, wide);
    // Only the shadow's cell changes: keep it, draw the shadow, lay the kept text back on.
    const int sx = x + 1;
    const int sy = y + 1;
    Picture kept(width, FontHeight);
    kept.copyFrom(image, sx, sy, width, FontHeight, 0, 0);
    writeText(image, sx, sy, text, signRgb(shadow), brush, wide);
    image.copyTransparent(kept, 0, 0, width, FontHeight, sx, sy, brush);
    return width;
}

void Showimage(const GlyphTable& glyphs, int n, Picture& image, int x, int y)
{
    image.fillRect(x, y, GlyphSize, GlyphSize, RgbBlack);
    if (!isGlyphNumber(n))
        return;
    for (int gx = 0; gx < GlyphSize; ++gx)
        for (int gy = 0; gy < GlyphSize; ++gy) {
            const bool red = glyphs.red(n, gx, gy);
            const bool green = glyphs.green(n, gx, gy);
            if (red || green)
                image.setPixel(x + gx, y + gy, red ? (green ? RgbYellow : RgbRed) : RgbLime);
        }
}

Picture Showimage(const GlyphTable& glyphs, int n)
{
    Picture image(GlyphSize, GlyphSize);
    Showimage(glyphs, n, image, 0, 0);
    return image;
}

void Redraw(Picture& image, const RowView& row, int maxLength, const GlyphTable& glyphs)
{
    const int width = rowImageWidth(maxLength);
    if (image.width() != width || image.height() != RowImageHeight)
        image.resize(width, RowImageHeight);
    else
        image.fill(RgbBlack);

    const std::string_view text = row.text;
    int x = 1;
    std::size_t pos = 0;
    while (pos < text.size() && x < width) {
        const std::size_t length = elementLength(text, pos);
        const std::string_view element = text.substr(pos, length);
        const std::uint8_t a = attrAt(row.attr, pos);
        const std::size_t next = pos + length;

        if (length == 2 && static_cast<std::uint8_t>(element[0]) == GlyphLeadByte) {
            // A code that names no glyph leaves a blank cell.
            Showimage(glyphs, glyphNumber(static_cast<std::uint8_t>(element[1])), image, x, 0);
            x += GlyphSize;
            pos = next;
            continue;
        }

        const bool selected =
            row.focused && pos >= row.selStart && pos - row.selStart < row.selLength;
        const Rgb brush = selected ? RgbBlue : signRgb(backColour(a));
        const bool wide = length == 2 && (a & AttrWide);
        x += drawText(x, TextTop, a, image, element, brush, wide);
        pos = next;
        // The second copy of a wide character is already on the image.
        if (wide && elementLength(text, pos) == 2)
            pos += 2;
    }
}

Picture Redraw(const RowView& row, int maxLength, const GlyphTable& glyphs)
{
    Picture image;
    Redraw(image, row, maxLength, glyphs);
    return image;
}

} // namespace led
