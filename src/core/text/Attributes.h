#pragma once

#include <cstdint>

namespace led {

// One attribute byte travels beside every text byte of a screen.
inline constexpr std::uint8_t AttrForeRed = 0x01;
inline constexpr std::uint8_t AttrBackRed = 0x02;
inline constexpr std::uint8_t AttrForeGreen = 0x04;
inline constexpr std::uint8_t AttrBackGreen = 0x08;
inline constexpr std::uint8_t AttrShadow = 0x10;
inline constexpr std::uint8_t AttrWide = 0x20;
inline constexpr std::uint8_t AttrSingleByte = 0x40;
inline constexpr std::uint8_t AttrWideSecond = 0x80;

inline constexpr std::uint8_t AttrForeMask = AttrForeRed | AttrForeGreen;
inline constexpr std::uint8_t AttrBackMask = AttrBackRed | AttrBackGreen;

// Padding spaces and imported single bytes: red on black, single byte.
inline constexpr std::uint8_t AttrPadding = 0x41;

enum class SignColour
{
    Black,
    Red,
    Green,
    Yellow
};

constexpr SignColour foreColour(std::uint8_t attr)
{
    const bool red = attr & AttrForeRed;
    const bool green = attr & AttrForeGreen;
    return red ? (green ? SignColour::Yellow : SignColour::Red)
               : (green ? SignColour::Green : SignColour::Black);
}

constexpr SignColour backColour(std::uint8_t attr)
{
    const bool red = attr & AttrBackRed;
    const bool green = attr & AttrBackGreen;
    return red ? (green ? SignColour::Yellow : SignColour::Red)
               : (green ? SignColour::Green : SignColour::Black);
}

} // namespace led
