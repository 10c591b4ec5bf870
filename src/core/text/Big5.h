#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace led {

// Byte strings hold Big5 (code page 950) bytes; std::string is used as a byte container.
using Bytes = std::string;

inline constexpr std::uint8_t GlyphLeadByte = 0xFA;
inline constexpr int GlyphCount = 100;

// The document's own rule: a byte of 0xA1 or above starts a two-byte element.
constexpr bool isElementLead(std::uint8_t b)
{
    return b >= 0xA1;
}

// The code page's lead-byte test, used on typed characters and by character effects.
constexpr bool isSystemLeadByte(std::uint8_t b)
{
    return b >= 0x81 && b <= 0xFE;
}

struct TextElement
{
    std::size_t pos = 0;
    std::size_t length = 1; // 1 or 2; a lead byte at the very end stands alone
};

// Length of the element starting at pos (0 at or past the end).
std::size_t elementLength(std::string_view text, std::size_t pos);

// Splits a text into elements, left to right, by the 0xA1 lead rule.
std::vector<TextElement> textElements(std::string_view text);

// Glyph n (0..99) is referenced as 0xFA followed by its code byte.
std::uint8_t glyphCode(int glyphNumber);
// May give a number outside 0..99 for codes that name no glyph.
int glyphNumber(std::uint8_t code);
constexpr bool isGlyphNumber(int n)
{
    return n >= 0 && n < GlyphCount;
}
Bytes glyphReference(int glyphNumber);

} // namespace led
