#include "core/render/SignFont.h"

#include <gtest/gtest.h>

#include <string>

namespace led {
namespace {

// The glyph's dots as Unifont writes them: hex digits, rows top to bottom.
std::string hexOf(const FontGlyph& g)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int y = 0; y < FontHeight; ++y)
        for (int x0 = 0; x0 < g.width(); x0 += 4) {
            int v = 0;
            for (int x = x0; x < x0 + 4; ++x)
                v = v * 2 + (g.lit(x, y) ? 1 : 0);
            out += digits[v];
        }
    return out;
}

TEST(SignFont, GlyphsComeFromUnifont)
{
    struct Case
    {
        const char* name;
        std::string element;
        int width;
        const char* hex;
    } cases[] = {
        {"ASCII A", "A", 8, "0000000018242442427E424242420000"},
        {"space", " ", 8, "00000000000000000000000000000000"},
        {"中 (A4A4)", "\xA4\xA4", 16,
         "01000100010001003FF8210821082108210821083FF821080100010001000100"},
        {"α (A35C), narrow in Unifont, centred", "\xA3\x5C", 16,
         "000000000000000000000000032004A0044004400440044004A0"
         "032000000000"},
    };
    for (const auto& c : cases) {
        const FontGlyph g = elementGlyph(c.element);
        EXPECT_TRUE(g.exists()) << c.name;
        EXPECT_EQ(g.width(), c.width) << c.name;
        EXPECT_EQ(hexOf(g), c.hex) << c.name;
    }
}

TEST(SignFont, CodesWithoutGlyphDrawAHollowBox)
{
    const std::string box8 = "007E4242424242424242424242427E00";
    const std::string box16 = "00007FFE"
                              "400240024002400240024002400240024002400240024002"
                              "7FFE0000";
    struct Case
    {
        const char* name;
        std::string element;
        const std::string& hex;
    } cases[] = {
        {"control byte", "\x01", box8},         {"DEL", "\x7F", box8},
        {"lone lead byte", "\xB0", box8},       {"user-defined area FA40", "\xFA\x40", box16},
        {"unassigned A3E2", "\xA3\xE2", box16},
    };
    for (const auto& c : cases) {
        const FontGlyph g = elementGlyph(c.element);
        EXPECT_FALSE(g.exists()) << c.name;
        EXPECT_EQ(hexOf(g), c.hex) << c.name;
    }
    EXPECT_FALSE(elementGlyph("").exists());
}

TEST(SignFont, EveryCommonCharacterHasAGlyph)
{
    // The Big5 level-1 hanzi run from A440 to C67E.
    int missing = 0;
    for (int lead = 0xA4; lead <= 0xC5; ++lead)
        for (int trail : {0x40, 0x7E, 0xA1, 0xFE})
            missing += wideGlyph(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail))
                               .exists()
                           ? 0
                           : 1;
    EXPECT_EQ(missing, 0);
}

} // namespace
} // namespace led
