#include "core/text/Big5.h"
#include "core/text/Attributes.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(Big5, ElementWalkUsesTheA1LeadRule)
{
    struct Case
    {
        const char* name;
        Bytes text;
        std::vector<std::size_t> lengths;
    } cases[] = {
        {"empty", "", {}},
        {"ascii", "ab", {1, 1}},
        {"big5 then ascii",
         "\xA4\xA4"
         "a",
         {2, 1}},
        {"A0 is single", "\xA0\xA4\xA4", {1, 2}},
        {"81 is single here", "\x81\x40", {1, 1}},
        {"lone lead at the end", "a\xA4", {1, 1}},
        {"glyph reference",
         "\xFA\x41"
         "b",
         {2, 1}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> lengths;
        for (const auto& e : textElements(c.text))
            lengths.push_back(e.length);
        EXPECT_EQ(lengths, c.lengths) << c.name;
    }
    EXPECT_EQ(elementLength("ab", 5), 0u);
}

TEST(Big5, LeadByteTests)
{
    for (int b = 0; b < 256; ++b) {
        const auto u = static_cast<std::uint8_t>(b);
        EXPECT_EQ(isSystemLeadByte(u), b >= 0x81 && b <= 0xFE) << b;
        EXPECT_EQ(isElementLead(u), b >= 0xA1) << b;
    }
}

TEST(Big5, GlyphCodes)
{
    const std::pair<int, std::uint8_t> cases[] = {
        {0, 0x41}, {49, 0x72}, {50, 0xA1}, {57, 0xA8}, {99, 0xD2}};
    for (const auto& [n, code] : cases) {
        EXPECT_EQ(glyphCode(n), code) << n;
        EXPECT_EQ(glyphNumber(code), n) << n;
    }
    for (int n = 0; n < GlyphCount; ++n)
        EXPECT_EQ(glyphNumber(glyphCode(n)), n);
    EXPECT_EQ(glyphReference(57), Bytes("\xFA\xA8"));
    // The read-back rule takes codes between the two ranges as glyphs 50..95 too.
    EXPECT_EQ(glyphNumber(0x73), 50);
    EXPECT_EQ(glyphNumber(0xA0), 95);
    for (std::uint8_t code : {0x00, 0x40, 0xD3, 0xFF})
        EXPECT_FALSE(isGlyphNumber(glyphNumber(code))) << int(code);
}

TEST(Attributes, ColoursFromBits)
{
    EXPECT_EQ(foreColour(0x00), SignColour::Black);
    EXPECT_EQ(foreColour(AttrForeRed), SignColour::Red);
    EXPECT_EQ(foreColour(AttrForeGreen), SignColour::Green);
    EXPECT_EQ(foreColour(AttrForeRed | AttrForeGreen), SignColour::Yellow);
    EXPECT_EQ(backColour(0x0A), SignColour::Yellow);
    EXPECT_EQ(backColour(AttrBackGreen | AttrWide), SignColour::Green);
    EXPECT_EQ(foreColour(0x4D), SignColour::Yellow); // "A" yellow on green
    EXPECT_EQ(backColour(0x4D), SignColour::Green);
}

} // namespace
} // namespace led
