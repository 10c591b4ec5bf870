#include "core/document/GlyphTable.h"

#include <gtest/gtest.h>

#include <array>

namespace led {
namespace {

std::string codeBytes(const GlyphTable& t, int glyph, std::size_t offset, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(t.record(glyph)) + offset, size);
}

TEST(GlyphTable, MakeCodeOfOnePixel)
{
    struct Case
    {
        const char* name;
        int x, y;
        bool red, green, horizontal;
        int group; // the only code group with a bit set
        std::array<std::uint8_t, 4> colour;
        std::array<std::uint8_t, 2> mono;
    } cases[] = {
        {"red (0,0) horizontal", 0, 0, true, false, true, 0, {0x01, 0, 0, 0}, {0x00, 0x01}},
        {"red (0,0) vertical", 0, 0, true, false, false, 0, {0, 0x80, 0, 0}, {0x80, 0x00}},
        {"yellow (0,0) horizontal", 0, 0, true, true, true, 0, {0x01, 0, 0x01, 0}, {0, 0x01}},
        {"green (3,9) horizontal", 3, 9, false, true, true, 3, {0, 0, 0, 0x02}, {0x02, 0}},
        {"green (3,9) vertical", 3, 9, false, true, false, 9, {0, 0, 0, 0x10}, {0x10, 0}},
        {"red (15,15) horizontal", 15, 15, true, false, true, 15, {0, 0x80, 0, 0}, {0x80, 0}},
        {"red (15,0) vertical", 15, 0, true, false, false, 0, {0x01, 0, 0, 0}, {0, 0x01}},
    };
    for (const auto& c : cases) {
        GlyphTable t = GlyphTable::blank();
        t.setPixel(7, c.x, c.y, c.red, c.green);
        t.MakeCode(7, c.horizontal);

        std::string colour(64, '\0');
        std::string mono(32, '\0');
        for (int i = 0; i < 4; ++i)
            colour[4 * c.group + i] = static_cast<char>(c.colour[i]);
        for (int i = 0; i < 2; ++i)
            mono[2 * c.group + i] = static_cast<char>(c.mono[i]);
        EXPECT_EQ(codeBytes(t, 7, GlyphColourCode, 64), colour) << c.name;
        EXPECT_EQ(codeBytes(t, 7, GlyphMonoCode, 32), mono) << c.name;
        // Only the glyph asked for is rebuilt.
        EXPECT_EQ(codeBytes(t, 6, GlyphColourCode, 96), std::string(96, '\x01')) << c.name;
    }
}

TEST(GlyphTable, MakeAllCodesClearsBlankCodesAndFillsLitGlyphs)
{
    GlyphTable t = GlyphTable::blank();
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            t.setPixel(99, x, y, true, false);
    t.makeAllCodes(false);

    for (int g = 0; g < 99; ++g)
        ASSERT_EQ(codeBytes(t, g, GlyphColourCode, 96), std::string(96, '\0')) << g;
    std::string lit;
    for (int k = 0; k < 16; ++k)
        lit += std::string("\xFF\xFF\0\0", 4);
    EXPECT_EQ(codeBytes(t, 99, GlyphColourCode, 64), lit);
    EXPECT_EQ(codeBytes(t, 99, GlyphMonoCode, 32), std::string(32, '\xFF'));
}

TEST(GlyphTable, MakeCodeIgnoresGlyphsOutsideTheTable)
{
    const GlyphTable before = GlyphTable::blank();
    GlyphTable t = before;
    t.MakeCode(-1, true);
    t.MakeCode(GlyphCount, true);
    EXPECT_EQ(t, before);
}

} // namespace
} // namespace led
