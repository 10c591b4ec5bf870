#include "core/render/SignFont.h"

#include "core/render/SignFontData.h"

#include <algorithm>

namespace led {

FontGlyph narrowGlyph(std::uint8_t byte)
{
    const auto* end = fontdata::NarrowCodes + fontdata::NarrowCount;
    const auto* it = std::lower_bound(fontdata::NarrowCodes, end, byte);
    if (it == end || *it != byte)
        return {NarrowWidth, nullptr};
    return {NarrowWidth, fontdata::NarrowBitmaps[it - fontdata::NarrowCodes]};
}

FontGlyph wideGlyph(std::uint8_t lead, std::uint8_t trail)
{
    const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
    const auto* end = fontdata::WideCodes + fontdata::WideCount;
    const auto* it = std::lower_bound(fontdata::WideCodes, end, code);
    if (it == end || *it != code)
        return {WideWidth, nullptr};
    return {WideWidth, fontdata::WideBitmaps[it - fontdata::WideCodes]};
}

FontGlyph elementGlyph(std::string_view element)
{
    if (element.size() >= 2)
        return wideGlyph(static_cast<std::uint8_t>(element[0]),
                         static_cast<std::uint8_t>(element[1]));
    if (element.empty())
        return {NarrowWidth, nullptr};
    return narrowGlyph(static_cast<std::uint8_t>(element[0]));
}

} // namespace led
