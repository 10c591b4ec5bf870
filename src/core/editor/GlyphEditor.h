#pragma once

#include "core/document/FileIO.h"
#include "core/document/GlyphTable.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace led {

namespace texts {
inline constexpr const char* GlyphStatusPrefix = "目前所繪製圖形:第";
inline constexpr const char* GlyphStatusSuffix = "圖";
inline constexpr const char* TextToGlyphQuestion = "你確定將文字貼到第";
inline constexpr const char* TextToGlyphCaption = "貼圖";
} // namespace texts

enum class PaintColour
{
    Red,
    Yellow,
    Green,
    Black
};

// The glyph editor's model: five drawing grids per page over the glyph table, the paint
// colour, the copy buffer and text to glyph. It edits the table in place; the window saves
// after each change that asks for it (see the return values) and when it closes.
class GlyphEditor
{
public:
    static constexpr int Grids = 5;
    static constexpr int Pages = 20;

    // singleColour: the sign shows red only, so yellow and green cannot be painted.
    GlyphEditor(GlyphTable& glyphs, bool singleColour, bool horizontal = true);

    GlyphTable& glyphs() { return m_glyphs; }
    bool singleColour() const { return m_singleColour; }
    bool horizontal() const { return m_horizontal; }
    void setHorizontal(bool horizontal) { m_horizontal = horizontal; }

    // Page bar (ScrollBar1Change): clamped to 0..19; a single-colour sign paints red.
    void setPage(int page);
    int page() const { return m_page; }
    // Glyph shown by grid t (1..5) of the current page: 5 × page + t − 1.
    int glyphOf(int grid) const { return Grids * m_page + grid - 1; }
    std::array<int, Grids> labels() const;

    // A click on grid t (1..5) makes it the current grid.
    void selectGrid(int grid);
    int currentGrid() const { return m_grid; }
    int currentGlyph() const { return glyphOf(m_grid); }
    // "目前所繪製圖形:第" + glyph + "圖" for the current grid.
    std::string statusText() const;

    // Returns false, keeping the colour, for yellow or green on a single-colour sign.
    bool setPaintColour(PaintColour colour);
    PaintColour paintColour() const { return m_paint; }
    bool paintRed() const { return m_paint == PaintColour::Red || m_paint == PaintColour::Yellow; }
    bool paintGreen() const
    {
        return m_paint == PaintColour::Green || m_paint == PaintColour::Yellow;
    }

    // A cell of grid t becoming current: pixel (column, row) takes the paint colour and the
    // glyph becomes the text target. Out-of-range positions change nothing.
    void paintCell(int grid, int column, int row);
    int textTarget() const { return m_textTarget; }

    // After fill, clear, copyFrom and paste the window saves and reloads the table.
    // Every pixel of the current glyph in the paint colour, or black.
    void fill();
    void clear();
    // Both planes of glyph source (SpinEdit1, 0..99) into the current glyph. False, and
    // nothing changed, for a source outside 0..99.
    bool copyFrom(int source);

    // Context menu: copy the current glyph's planes; paste them into the current glyph
    // (false while nothing was copied).
    void copyToBuffer();
    bool canPaste() const { return m_buffer.has_value(); }
    bool paste();

    // "你確定將文字貼到第" + text target + "圖", asked before text to glyph.
    std::string textToGlyphQuestion() const;
    // Draws the Big5 text (the field's one character) from the sign font at (0, 0) of the
    // text target: lit dots set red and keep green, every other dot is cleared. bold widens
    // strokes one dot to the right. The paint colour's red is switched on. An empty text
    // changes nothing and gives false. The table is not saved here.
    bool textToGlyph(std::string_view big5Text, bool bold);

    // pbLoadClick: the table from file; a missing file gives the blank table when unnamed
    // and keeps the table otherwise. A short file fills the whole glyphs it holds.
    FileResult load(const std::filesystem::path& file, bool unnamed);
    // pbSaveClick: rebuilds every glyph's code bytes, then writes the 60800 bytes.
    FileResult save(const std::filesystem::path& file);

private:
    using Planes = std::array<std::uint8_t, 2 * 256>;

    void paintAll(bool red, bool green);

    GlyphTable& m_glyphs;
    bool m_singleColour;
    bool m_horizontal;
    int m_page = 0;
    int m_grid = 1;
    PaintColour m_paint = PaintColour::Red;
    int m_textTarget = 0;
    std::optional<Planes> m_buffer;
};

} // namespace led
