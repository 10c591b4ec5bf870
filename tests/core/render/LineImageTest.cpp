#include "core/render/LineImage.h"
#include "core/render/GlyphPalette.h"

#include "PictureArt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace led {
namespace {

using test::art;

// "A" in an 8-dot cell at x = 1, y = 1: '#' lit, '-' the cell's ground, '.' untouched.
const char* const CellA = "............\n"
                          "............\n"
                          "............\n"
                          "............\n"
                          "............\n"
                          "....##......\n"
                          "...#--#.....\n"
                          "...#--#.....\n"
                          "..#----#....\n"
                          "..#----#....\n"
                          "..######....\n"
                          "..#----#....\n"
                          "..#----#....\n"
                          "..#----#....\n"
                          "..#----#....\n"
                          "............\n"
                          "............\n"
                          "............\n";

// The whole 8 × 16 cell takes the ground colour, then the letter its own.
std::string cellA(char fore, char ground)
{
    std::string out = CellA;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int x = static_cast<int>(i % 13);
        const int y = static_cast<int>(i / 13);
        const bool inCell = x >= 1 && x <= 8 && y >= 1 && y <= 16;
        if (out[i] == '#')
            out[i] = fore;
        else if (out[i] == '-' || (out[i] == '.' && inCell))
            out[i] = ground;
    }
    return out;
}

Picture row(std::string_view text, std::string_view attr, int maxLength,
            const GlyphTable& glyphs = GlyphTable())
{
    return Redraw(RowView{text, attr}, maxLength, glyphs);
}

TEST(Redraw, SizeFollowsTheRowLength)
{
    const Picture p = row("", "", 20);
    EXPECT_EQ(p.width(), 164); // sign width 10
    EXPECT_EQ(p.height(), 18);
    EXPECT_EQ(row("", "", 80).width(), 644);
}

TEST(Redraw, ForeAndBackColoursOfTheFirstAttributeByte)
{
    struct Case
    {
        std::uint8_t attr;
        char fore, ground;
    } cases[] = {
        {0x41, 'R', '.'}, // typed "A" red on black
        {0x4D, 'Y', 'G'}, // yellow on green
        {0x44, 'G', '.'}, {0x42, '.', 'R'}, {0x4F, 'Y', 'Y'}, {0x49, 'R', 'G'}, {0x4E, 'G', 'Y'},
    };
    for (const auto& c : cases) {
        const std::string attr(1, static_cast<char>(c.attr));
        EXPECT_EQ(art(row("A", attr, 1)), cellA(c.fore, c.ground)) << int(c.attr);
    }
}

TEST(Redraw, SelectionIsBlueOnlyWhileFocused)
{
    RowView v{"AA", "\x41\x41", 1, 1, true};
    const Picture focused = Redraw(v, 2, GlyphTable());
    EXPECT_EQ(art(focused, 0, 0, 9), art(row("A", "\x41", 1), 0, 0, 9));
    // The second cell: the ground is blue, the letter still red.
    EXPECT_EQ(focused.pixel(9, 1), RgbBlue);
    EXPECT_EQ(focused.pixel(12, 5), RgbRed);
    EXPECT_EQ(focused.pixel(1, 1), RgbBlack);

    v.focused = false;
    EXPECT_EQ(Redraw(v, 2, GlyphTable()), row("AA", "\x41\x41", 2));
}

TEST(Redraw, ShadowUsesTheShadowTable)
{
    // Red on red: the letter melts into its ground, its green shadow shows one dot down-right.
    EXPECT_EQ(art(row("A", "\x13", 1)), "............\n"
                                        ".RRRRRRRR...\n"
                                        ".RRRRRRRR...\n"
                                        ".RRRRRRRR...\n"
                                        ".RRRRRRRR...\n"
                                        ".RRRRRRRR...\n"
                                        ".RRRRGGRR...\n"
                                        ".RRRGRRGR...\n"
                                        ".RRRGRRGR...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRGGGGGG...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRGRRRRG...\n"
                                        ".RRRRRRRR...\n"
                                        "............\n");
    // Black on black: the letter turns red, its yellow shadow stays behind it.
    EXPECT_EQ(art(row("A", "\x10", 1)), "............\n"
                                        "............\n"
                                        "............\n"
                                        "............\n"
                                        "............\n"
                                        "....RR......\n"
                                        "...R.YR.....\n"
                                        "...RY.RY....\n"
                                        "..R.Y..R....\n"
                                        "..RY...RY...\n"
                                        "..RRRRRRY...\n"
                                        "..RYYYYRY...\n"
                                        "..RY...RY...\n"
                                        "..RY...RY...\n"
                                        "..RY...RY...\n"
                                        "...Y....Y...\n"
                                        "............\n"
                                        "............\n");
}

TEST(Redraw, SelectedShadowStaysVisible)
{
    // The shadow is laid under the text against the ground actually drawn, blue here.
    EXPECT_EQ(art(Redraw(RowView{"A", "\x10", 0, 1, true}, 1, GlyphTable())), "............\n"
                                                                              ".BBBBBBBB...\n"
                                                                              ".BBBBBBBB...\n"
                                                                              ".BBBBBBBB...\n"
                                                                              ".BBBBBBBB...\n"
                                                                              ".BBBRRBBB...\n"
                                                                              ".BBRBYRBB...\n"
                                                                              ".BBRYBRYB...\n"
                                                                              ".BRBYBBRB...\n"
                                                                              ".BRYBBBRY...\n"
                                                                              ".BRRRRRRY...\n"
                                                                              ".BRYYYYRY...\n"
                                                                              ".BRYBBBRY...\n"
                                                                              ".BRYBBBRY...\n"
                                                                              ".BRYBBBRY...\n"
                                                                              ".BBYBBBBY...\n"
                                                                              ".BBBBBBBB...\n"
                                                                              "............\n");
}

TEST(Redraw, ShadowColourTable)
{
    using C = SignColour;
    const C order[] = {C::Black, C::Red, C::Green, C::Yellow};
    const char* const table[] = {"YYYG", "YGYG", "RYYR", "GGRG"};
    const char names[] = {'.', 'R', 'G', 'Y'};
    for (int f = 0; f < 4; ++f)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(names[static_cast<int>(shadowColour(order[f], order[b]))], table[f][b])
                << f << "," << b;
}

TEST(Redraw, WideCharacterIsDoubledAndItsCopySkipped)
{
    // 中 twice with the wide marks, then "A": the A starts right after 32 dots.
    const Picture p = row("\xA4\xA4\xA4\xA4"
                          "A",
                          "\x21\x21\xA1\xA1\x41", 5);
    EXPECT_EQ(art(p, 0, 0, 33), ".................................\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                ".....RRRRRRRRRRRRRRRRRRRRRR......\n"
                                ".....RR........RR........RR......\n"
                                ".....RR........RR........RR......\n"
                                ".....RR........RR........RR......\n"
                                ".....RR........RR........RR......\n"
                                ".....RR........RR........RR......\n"
                                ".....RRRRRRRRRRRRRRRRRRRRRR......\n"
                                ".....RR........RR........RR......\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                "...............RR................\n"
                                ".................................\n");
    EXPECT_EQ(art(p, 32, 0, 12), art(row("A", "\x41", 1)));
    // Without the wide mark the same bytes are two ordinary characters side by side.
    const Picture narrow = row("\xA4\xA4\xA4\xA4", "\x01\x01\x01\x01", 4);
    EXPECT_EQ(art(narrow, 1, 0, 16), art(narrow, 17, 0, 16));
    EXPECT_NE(art(narrow, 1, 0, 16), art(p, 1, 0, 16));
}

TEST(Redraw, GlyphReferencesDrawTheirGlyph)
{
    GlyphTable glyphs;
    glyphs.setPixel(0, 0, 0, true, false);
    glyphs.setPixel(0, 15, 15, false, true);
    glyphs.setPixel(57, 3, 4, true, true);
    struct Case
    {
        const char* name;
        std::string text;
        int x, y; // a lit dot of the image
        Rgb colour;
    } cases[] = {
        {"glyph 0 at y 0", "\xFA\x41", 1, 0, RgbRed},
        {"glyph 0 green corner", "\xFA\x41", 16, 15, RgbLime},
        {"glyph 57 (FA A8)", "\xFA\xA8", 4, 4, RgbYellow},
    };
    for (const auto& c : cases) {
        const Picture p = row(c.text + "A", std::string("\x01\x01\x41", 3), 3, glyphs);
        EXPECT_EQ(p.pixel(c.x, c.y), c.colour) << c.name;
        // The next character follows 16 dots on.
        EXPECT_EQ(art(p, 17, 0, 11), art(row("A", "\x41", 1), 1)) << c.name;
    }
    // Codes naming no glyph (FA 40 is −1, FA D3 is 100) leave a blank cell of 16 dots.
    for (const char* text : {"\xFA\x40"
                             "A",
                             "\xFA\xD3"
                             "A"}) {
        const Picture p = row(text, "\x01\x01\x41", 3, glyphs);
        EXPECT_EQ(art(p, 0, 0, 16), art(Picture(16, 18))) << text;
        EXPECT_EQ(art(p, 17, 0, 11), art(row("A", "\x41", 1), 1)) << text;
    }
}

TEST(Redraw, DamagedRowsStayInsideTheImage)
{
    // A short attribute string, a lone lead byte and more text than the row holds.
    const Picture p = row("ABCDEFGHIJ\xB0", "\x41", 2);
    EXPECT_EQ(p.width(), 20);
    EXPECT_EQ(art(p, 0, 0, 9), art(row("A", "\x41", 1), 0, 0, 9));
}

TEST(Showimage, ColoursOfTheTwoPlanes)
{
    GlyphTable glyphs;
    glyphs.setPixel(99, 0, 0, true, false);
    glyphs.setPixel(99, 1, 0, false, true);
    glyphs.setPixel(99, 2, 0, true, true);
    const Picture p = Showimage(glyphs, 99);
    EXPECT_EQ(p.width(), 16);
    EXPECT_EQ(p.height(), 16);
    EXPECT_EQ(art(p, 0, 0, 4, 2), "RLY.\n....\n");
    EXPECT_EQ(Showimage(glyphs, 100), Picture(16, 16));
    EXPECT_EQ(Showimage(glyphs, -1), Picture(16, 16));
}

TEST(GlyphPalette, PageStripAndCells)
{
    GlyphTable glyphs;
    glyphs.setPixel(23, 0, 0, true, false); // page 2, cell 3
    const Picture strip = renderGlyphPage(glyphs, 2);
    EXPECT_EQ(strip.width(), 222);
    EXPECT_EQ(strip.height(), 16);
    EXPECT_EQ(strip.pixel(48, 0), RgbRed);
    EXPECT_EQ(strip, [] {
        Picture expected(222, 16);
        expected.setPixel(48, 0, RgbRed);
        return expected;
    }());
    EXPECT_EQ(renderGlyphPage(glyphs, 0), Picture(222, 16));

    Picture palette(170, 16, RgbBlue);
    for (int k = 0; k < 10; ++k)
        paintGlyphCell(strip, k, palette);
    EXPECT_EQ(palette.pixel(51, 0), RgbRed);
    EXPECT_EQ(palette.pixel(48, 0), RgbBlack);
    EXPECT_EQ(palette.pixel(16, 0), RgbBlue); // the grid line between cells 0 and 1
    EXPECT_EQ(palette.pixel(169, 0), RgbBlue);
}

TEST(Redraw, ARowAtSignWidth40IsFast)
{
    // 80 bytes mixing every kind of element, shadows included.
    std::string text, attr;
    for (int i = 0; i < 8; ++i) {
        text += "A\xA4\xA4\xA4\xA4\xA4\xA4\xFA\x41"
                "b";
        attr += "\x41\x01\x01\x21\x21\xA1\xA1\x01\x01\x50";
    }
    GlyphTable glyphs;
    Picture image;
    const int runs = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        Redraw(image, RowView{text, attr, 3, 4, true}, 80, glyphs);
    const auto each = (std::chrono::steady_clock::now() - start) / runs;
    EXPECT_LT(each, std::chrono::microseconds(1000));
    EXPECT_EQ(image.width(), 644);
}

} // namespace
} // namespace led
