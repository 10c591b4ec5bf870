#include "core/editor/AttributeRules.h"

namespace led {

namespace {

constexpr std::uint8_t ForeBits = AttrForeRed | AttrForeGreen;
constexpr std::uint8_t BackBits = AttrBackRed | AttrBackGreen;

std::uint8_t applyColour(std::uint8_t current, int tag, std::uint8_t red, std::uint8_t green)
{
    const auto bits = static_cast<std::uint8_t>(red | green);
    switch (tag) {
    case 1:
        return current & ~bits;
    case 2:
        return (current & ~bits) | red;
    case 3:
        return current | bits;
    case 4:
        return (current & ~bits) | green;
    default:
        return current;
    }
}

} // namespace

std::uint8_t applyForeColour(std::uint8_t current, int tag)
{
    static_assert(ForeBits == 0x05);
    return applyColour(current, tag, AttrForeRed, AttrForeGreen);
}

std::uint8_t applyBackColour(std::uint8_t current, int tag)
{
    static_assert(BackBits == 0x0A);
    return applyColour(current, tag, AttrBackRed, AttrBackGreen);
}

std::uint8_t attributeFromCaptions(const TSystemparameter& settings)
{
    std::uint8_t attr = AttrForeRed;
    if (const int fore = currentForeButton(settings); fore >= 0)
        attr = applyForeColour(attr, fore - ForeBlack + 1);
    if (const int back = currentBackButton(settings); back >= 0)
        attr = applyBackColour(attr, back - BackBlack + 1);
    return attr;
}

Bytes importedAttributes(std::string_view text)
{
    Bytes attr;
    attr.reserve(text.size());
    for (char c : text)
        attr.push_back(static_cast<char>(
            isElementLead(static_cast<std::uint8_t>(c)) ? AttrForeRed : AttrPadding));
    return attr;
}

Bytes wideAttributes(std::uint8_t current)
{
    const auto w = static_cast<char>(wideAttribute(current));
    const auto w2 = static_cast<char>(wideSecondAttribute(current));
    return Bytes{w, w, w2, w2};
}

Bytes fitAttributes(std::string_view text, std::string_view attr)
{
    if (attr.size() >= text.size())
        return Bytes(attr.substr(0, text.size()));
    return Bytes(attr) + importedAttributes(text.substr(attr.size()));
}

} // namespace led
