#pragma once

#include "core/document/Settings.h"
#include "core/text/Attributes.h"
#include "core/text/Big5.h"

#include <cstdint>

namespace led {

// The attribute bytes the editor gives each kind of element, from the current attribute.
constexpr std::uint8_t singleByteAttribute(std::uint8_t current)
{
    return (current & 0x1F) | AttrSingleByte;
}
constexpr std::uint8_t doubleByteAttribute(std::uint8_t current)
{
    return current & 0x1F;
}
constexpr std::uint8_t wideAttribute(std::uint8_t current)
{
    return (current & 0x1F) | AttrWide;
}
constexpr std::uint8_t wideSecondAttribute(std::uint8_t current)
{
    return wideAttribute(current) | AttrWideSecond;
}

// Colour panels carry Tag 1..4: black, red, yellow, green.
std::uint8_t applyForeColour(std::uint8_t current, int tag);
std::uint8_t applyBackColour(std::uint8_t current, int tag);

// The current attribute as the captioned panels describe it (red on black when none is).
std::uint8_t attributeFromCaptions(const TSystemparameter& settings);

// Text brought in from outside the row: 0x01 for each byte of 0xA1 or above, 0x41 otherwise.
Bytes importedAttributes(std::string_view text);

// The four attribute bytes of a wide character: w w w' w'.
Bytes wideAttributes(std::uint8_t current);

// An attribute string of the text's length: a longer one is cut, a shorter one is completed
// as imported text would be. Stored rows from elsewhere may not match their text.
Bytes fitAttributes(std::string_view text, std::string_view attr);

} // namespace led
