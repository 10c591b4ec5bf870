#pragma once

#include "core/render/Picture.h"

namespace led::sim {

inline constexpr int SpriteWidth = 40;
inline constexpr int SpriteHeight = 20;
inline constexpr Rgb RgbWhite{255, 255, 255};

// Frame 0 or 1 of the animation sprite (any other number: frame index mod 2): a round
// yellow figure facing right, mouth open in frame 0 and closed in frame 1, followed by a
// green and a red figure whose eyes look left in frame 0 and right in frame 1.
const Picture& spriteFrame(int index);

} // namespace led::sim
