#pragma once

#include <cstdint>

namespace led {

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    constexpr bool operator==(const Rgb&) const = default;
};

// The row preview's colours; green is the darker standard green.
inline constexpr Rgb RgbBlack{0, 0, 0};
inline constexpr Rgb RgbRed{255, 0, 0};
inline constexpr Rgb RgbGreen{0, 128, 0};
inline constexpr Rgb RgbYellow{255, 255, 0};
inline constexpr Rgb RgbBlue{0, 0, 255};
// Glyph images show green at full brightness.
inline constexpr Rgb RgbLime{0, 255, 0};

} // namespace led
