#pragma once

// The sign font table, generated at build time from GNU Unifont by tools/mksignfont.
// Read it through SignFont.h.

#include <cstddef>
#include <cstdint>

namespace led::fontdata {

// Printable ASCII bytes, ascending; each bitmap is 16 rows of 8 dots, bit 7 leftmost.
extern const std::size_t NarrowCount;
extern const std::uint8_t NarrowCodes[];
extern const std::uint8_t NarrowBitmaps[][16];

// Double-byte Big5 codes (lead << 8 | trail), ascending; each bitmap is 16 rows of two
// bytes, 16 dots, bit 7 of the first byte leftmost.
extern const std::size_t WideCount;
extern const std::uint16_t WideCodes[];
extern const std::uint8_t WideBitmaps[][32];

} // namespace led::fontdata
