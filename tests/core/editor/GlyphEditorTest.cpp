#include "core/editor/GlyphEditor.h"

#include "core/render/SignFont.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace led {
namespace {

bool planesEqual(const GlyphTable& t, int a, int b)
{
    return std::memcmp(t.record(a), t.record(b), 512) == 0;
}

int litCount(const GlyphTable& t, int glyph, bool red)
{
    int n = 0;
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            n += red ? t.red(glyph, x, y) : t.green(glyph, x, y);
    return n;
}

TEST(GlyphEditor, GridAndPageNameTheGlyph)
{
    GlyphTable table;
    GlyphEditor editor(table, false);
    struct Case
    {
        int page, grid, glyph;
    } cases[] = {{0, 1, 0}, {0, 5, 4}, {4, 3, 22}, {19, 5, 99}, {25, 5, 99}, {-3, 1, 0}};
    for (const auto& c : cases) {
        editor.setPage(c.page);
        editor.selectGrid(c.grid);
        EXPECT_EQ(editor.currentGlyph(), c.glyph) << c.page << "/" << c.grid;
        EXPECT_EQ(editor.statusText(), "目前所繪製圖形:第" + std::to_string(c.glyph) + "圖");
    }
    editor.setPage(19);
    EXPECT_EQ(editor.labels(), (std::array<int, 5>{95, 96, 97, 98, 99}));
    editor.selectGrid(5);
    editor.selectGrid(6); // no such grid: the current one stays
    EXPECT_EQ(editor.currentGrid(), 5);
}

TEST(GlyphEditor, PaintingSetsBothPlanesAndTheTextTarget)
{
    GlyphTable table;
    GlyphEditor editor(table, false);
    editor.setPage(19);
    struct Case
    {
        PaintColour colour;
        bool red, green;
    } cases[] = {{PaintColour::Red, true, false},
                 {PaintColour::Yellow, true, true},
                 {PaintColour::Green, false, true},
                 {PaintColour::Black, false, false}};
    for (const auto& c : cases) {
        table.setPixel(99, 2, 7, !c.red, !c.green);
        ASSERT_TRUE(editor.setPaintColour(c.colour));
        editor.paintCell(5, 2, 7);
        EXPECT_EQ(table.red(99, 2, 7), c.red);
        EXPECT_EQ(table.green(99, 2, 7), c.green);
    }
    EXPECT_EQ(editor.textTarget(), 99);
    editor.paintCell(5, 16, 0); // outside the grid
    editor.paintCell(0, 0, 0);
    EXPECT_EQ(editor.textTarget(), 99);
    EXPECT_EQ(editor.textToGlyphQuestion(), "你確定將文字貼到第99圖");
}

TEST(GlyphEditor, SingleColourSignsPaintRedOnly)
{
    GlyphTable table;
    GlyphEditor editor(table, true);
    EXPECT_FALSE(editor.setPaintColour(PaintColour::Green));
    EXPECT_FALSE(editor.setPaintColour(PaintColour::Yellow));
    EXPECT_EQ(editor.paintColour(), PaintColour::Red);
    EXPECT_TRUE(editor.setPaintColour(PaintColour::Black));
    editor.setPage(1);
    EXPECT_EQ(editor.paintColour(), PaintColour::Red);

    GlyphEditor colour(table, false);
    colour.setPaintColour(PaintColour::Green);
    colour.setPage(1);
    EXPECT_EQ(colour.paintColour(), PaintColour::Green);
}

TEST(GlyphEditor, FillClearCopyAndPaste)
{
    GlyphTable table;
    table.setPixel(42, 5, 5, true, true);
    GlyphEditor editor(table, false);
    editor.setPage(1);
    editor.selectGrid(2); // glyph 6

    editor.setPaintColour(PaintColour::Yellow);
    editor.fill();
    EXPECT_EQ(litCount(table, 6, true), 256);
    EXPECT_EQ(litCount(table, 6, false), 256);
    EXPECT_EQ(litCount(table, 5, true), 0);
    editor.clear();
    EXPECT_EQ(litCount(table, 6, true) + litCount(table, 6, false), 0);

    EXPECT_TRUE(editor.copyFrom(42));
    EXPECT_TRUE(planesEqual(table, 6, 42));
    EXPECT_FALSE(editor.copyFrom(100));
    EXPECT_FALSE(editor.copyFrom(-1));

    EXPECT_FALSE(editor.canPaste());
    EXPECT_FALSE(editor.paste());
    editor.copyToBuffer();
    EXPECT_TRUE(editor.canPaste());
    table.setPixel(6, 5, 5, false, false); // the buffer keeps what was copied
    editor.setPage(19);
    editor.selectGrid(5);
    EXPECT_TRUE(editor.paste());
    EXPECT_TRUE(planesEqual(table, 99, 42));
    // Code bytes are left for the save to rebuild.
    EXPECT_EQ(std::memcmp(table.record(99) + 512, GlyphTable().record(99) + 512, 96), 0);
}

TEST(GlyphEditor, TextToGlyphDrawsTheCharacterInRed)
{
    const std::string zhong = "\xA4\xA4"; // 中
    const FontGlyph font = elementGlyph(zhong);

    GlyphTable table;
    GlyphEditor editor(table, false);
    // Glyph 0 is all green; the character keeps it where lit and clears the rest.
    editor.setPaintColour(PaintColour::Green);
    editor.fill();
    ASSERT_TRUE(editor.textToGlyph(zhong, false));
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(table.red(0, x, y), font.lit(x, y)) << x << "," << y;
            EXPECT_EQ(table.green(0, x, y), font.lit(x, y)) << x << "," << y;
        }
    EXPECT_EQ(editor.paintColour(), PaintColour::Yellow);

    // Bold: one more dot to the right of every lit dot, green gone.
    editor.clear();
    editor.setPaintColour(PaintColour::Black);
    ASSERT_TRUE(editor.textToGlyph(zhong, true));
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) {
            const bool lit = font.lit(x, y) || font.lit(x - 1, y);
            EXPECT_EQ(table.red(0, x, y), lit) << x << "," << y;
            EXPECT_FALSE(table.green(0, x, y));
        }
    EXPECT_EQ(editor.paintColour(), PaintColour::Red);

    // Nothing in the field: the glyph stays as it is.
    const GlyphTable before = table;
    EXPECT_FALSE(editor.textToGlyph("", false));
    EXPECT_EQ(table, before);
}

TEST(GlyphEditor, TextToGlyphGoesToTheGlyphLastPaintedOn)
{
    GlyphTable table;
    GlyphEditor editor(table, false);
    editor.setPage(3);
    editor.paintCell(4, 0, 0); // glyph 18
    editor.setPage(0);
    ASSERT_TRUE(editor.textToGlyph("\xA4\xA4", false));
    EXPECT_GT(litCount(table, 18, true), 0);
    EXPECT_EQ(litCount(table, 0, true), 0);
}

TEST(GlyphEditor, SaveRebuildsCodesAndLoadFollowsTheFileRules)
{
    test::TempDir dir;
    const auto file = dir / "DATA" / "x.GRA";

    // Unnamed project without its file: 100 blank glyphs, every code byte 0x01.
    GlyphTable table;
    table.setPixel(3, 0, 0, true, false);
    GlyphEditor editor(table, false);
    ASSERT_TRUE(editor.load(file, true));
    EXPECT_EQ(table, GlyphTable::blank());

    // Saving writes 60800 bytes with real code bytes (all zero for blank glyphs).
    table.setPixel(0, 0, 0, true, false);
    ASSERT_TRUE(editor.save(file));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 60800u);
    EXPECT_EQ(bytes.substr(512, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(576, 2), std::string("\x00\x01", 2));
    EXPECT_EQ(bytes.substr(608 + 512, 96), std::string(96, '\0'));

    // Vertical orientation changes the code bytes.
    editor.setHorizontal(false);
    ASSERT_TRUE(editor.save(file));
    std::ifstream again(file, std::ios::binary);
    const std::string vertical((std::istreambuf_iterator<char>(again)), {});
    EXPECT_EQ(vertical.substr(512, 4), std::string("\x00\x80\x00\x00", 4));

    // A named project without its file keeps the table.
    const GlyphTable kept = table;
    ASSERT_TRUE(editor.load(dir / "none.GRA", false));
    EXPECT_EQ(table, kept);

    // Loading reads the file back.
    GlyphTable other;
    GlyphEditor reader(other, false);
    ASSERT_TRUE(reader.load(file, false));
    EXPECT_EQ(other.bytes(), vertical);

    // A short file fills the whole glyphs it holds and says so.
    std::ofstream(dir / "short.GRA", std::ios::binary) << std::string(608 * 2 + 10, '\x01');
    EXPECT_FALSE(reader.load(dir / "short.GRA", false));
    EXPECT_TRUE(other.red(1, 15, 15));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(other.record(2)), 608),
              vertical.substr(2 * 608, 608));
}

} // namespace
} // namespace led
