#include "core/editor/GlyphEditor.h"

#include "core/render/SignFont.h"
#include "core/text/Big5.h"

#include <algorithm>
#include <cstring>

namespace led {
namespace {

constexpr int Size = 16;

bool inGlyph(int x, int y)
{
    return x >= 0 && y >= 0 && x < Size && y < Size;
}

// The dots the sign font lights for a text drawn from (0, 0), clipped to one glyph.
std::array<std::array<bool, Size>, Size> textDots(std::string_view text, bool bold)
{
    std::array<std::array<bool, Size>, Size> lit{}; // [x][y]
    int x = 0;
    for (const TextElement& e : textElements(text)) {
        if (x >= Size)
            break;
        const FontGlyph glyph = elementGlyph(text.substr(e.pos, e.length));
        for (int gx = 0; gx < glyph.width(); ++gx)
            for (int gy = 0; gy < FontHeight; ++gy)
                if (glyph.lit(gx, gy) && inGlyph(x + gx, gy))
                    lit[x + gx][gy] = true;
        x += glyph.width();
    }
    if (bold)
        for (int gx = Size - 1; gx > 0; --gx)
            for (int gy = 0; gy < Size; ++gy)
                lit[gx][gy] = lit[gx][gy] || lit[gx - 1][gy];
    return lit;
}

} // namespace

GlyphEditor::GlyphEditor(GlyphTable& glyphs, bool singleColour, bool horizontal)
    : m_glyphs(glyphs), m_singleColour(singleColour), m_horizontal(horizontal)
{}

void GlyphEditor::setPage(int page)
{
    m_page = std::clamp(page, 0, Pages - 1);
    if (m_singleColour)
        m_paint = PaintColour::Red;
}

std::array<int, GlyphEditor::Grids> GlyphEditor::labels() const
{
    std::array<int, Grids> numbers{};
    for (int t = 1; t <= Grids; ++t)
        numbers[t - 1] = glyphOf(t);
    return numbers;
}

void GlyphEditor::selectGrid(int grid)
{
    if (grid >= 1 && grid <= Grids)
        m_grid = grid;
}

std::string GlyphEditor::statusText() const
{
    return std::string(texts::GlyphStatusPrefix) + std::to_string(currentGlyph()) +
           texts::GlyphStatusSuffix;
}

bool GlyphEditor::setPaintColour(PaintColour colour)
{
    if (m_singleColour && (colour == PaintColour::Yellow || colour == PaintColour::Green))
        return false;
    m_paint = colour;
    return true;
}

void GlyphEditor::paintCell(int grid, int column, int row)
{
    if (grid < 1 || grid > Grids || !inGlyph(column, row))
        return;
    const int glyph = glyphOf(grid);
    m_glyphs.setPixel(glyph, column, row, paintRed(), paintGreen());
    m_textTarget = glyph;
}

void GlyphEditor::paintAll(bool red, bool green)
{
    std::uint8_t* record = m_glyphs.record(currentGlyph());
    std::fill_n(record + GlyphRedPlane, 256, red ? 1 : 0);
    std::fill_n(record + GlyphGreenPlane, 256, green ? 1 : 0);
}

void GlyphEditor::fill()
{
    paintAll(paintRed(), paintGreen());
}

void GlyphEditor::clear()
{
    paintAll(false, false);
}

bool GlyphEditor::copyFrom(int source)
{
    if (!isGlyphNumber(source))
        return false;
    const int target = currentGlyph();
    if (source != target)
        std::memcpy(m_glyphs.record(target), m_glyphs.record(source), 2 * 256);
    return true;
}

void GlyphEditor::copyToBuffer()
{
    Planes planes;
    std::memcpy(planes.data(), m_glyphs.record(currentGlyph()), planes.size());
    m_buffer = planes;
}

bool GlyphEditor::paste()
{
    if (!m_buffer)
        return false;
    std::memcpy(m_glyphs.record(currentGlyph()), m_buffer->data(), m_buffer->size());
    return true;
}

std::string GlyphEditor::textToGlyphQuestion() const
{
    return std::string(texts::TextToGlyphQuestion) + std::to_string(m_textTarget) +
           texts::GlyphStatusSuffix;
}

bool GlyphEditor::textToGlyph(std::string_view big5Text, bool bold)
{
    if (big5Text.empty())
        return false;
    const auto lit = textDots(big5Text, bold);
    for (int x = 0; x < Size; ++x)
        for (int y = 0; y < Size; ++y) {
            if (lit[x][y])
                m_glyphs.setPixel(m_textTarget, x, y, true, m_glyphs.green(m_textTarget, x, y));
            else
                m_glyphs.setPixel(m_textTarget, x, y, false, false);
        }
    if (m_paint == PaintColour::Black)
        m_paint = PaintColour::Red;
    else if (m_paint == PaintColour::Green)
        m_paint = PaintColour::Yellow;
    return true;
}

FileResult GlyphEditor::load(const std::filesystem::path& file, bool unnamed)
{
    return readGlyphFile(file, m_glyphs, unnamed);
}

FileResult GlyphEditor::save(const std::filesystem::path& file)
{
    m_glyphs.makeAllCodes(m_horizontal);
    return writeFileCreatingFolder(file, m_glyphs.bytes());
}

} // namespace led
