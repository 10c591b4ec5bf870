#include "core/text/Big5.h"

namespace led {

std::size_t elementLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    if (isElementLead(static_cast<std::uint8_t>(text[pos])) && pos + 1 < text.size())
        return 2;
    return 1;
}

std::vector<TextElement> textElements(std::string_view text)
{
    std::vector<TextElement> out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = elementLength(text, pos);
        out.push_back({pos, len});
        pos += len;
    }
    return out;
}

std::uint8_t glyphCode(int n)
{
    return static_cast<std::uint8_t>(n < 50 ? 0x41 + n : 0x6F + n);
}

int glyphNumber(std::uint8_t code)
{
    return code <= 0xA0 ? code - 0x41 : code - 0x6F;
}

Bytes glyphReference(int n)
{
    return Bytes{static_cast<char>(GlyphLeadByte), static_cast<char>(glyphCode(n))};
}

} // namespace led
