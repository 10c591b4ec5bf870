#pragma once

#include "core/document/InsertBook.h"

#include <cstddef>
#include <string_view>

namespace led {

// The layout written: dedicated phrases, manual lines, common phrases, automatic texts and
// the insert count, one line each.
inline constexpr int InsertFileLineCount = 711;
// Earlier layouts stop after the manual lines or after the common phrases, and are told
// apart by their size.
inline constexpr int InsertFileLinesWithoutCommon = 311;
inline constexpr int InsertFileLinesWithoutAutomatic = 611;
inline constexpr std::size_t CommonPhrasesAbove = 650; // bytes
inline constexpr std::size_t AutoTextsAbove = 1250;    // bytes

struct InsertReadResult
{
    int linesUsed = 0;      // lines taken into the book
    bool truncated = false; // fewer lines than the size announced; what was there was read
    bool badCount = false;  // the count line was no number from 1 to 250; the count was kept
};

// Fills book from an .INT image; sections the image does not reach keep their values.
InsertReadResult readInsertImage(std::string_view bytes, InsertBook& book);

// The 711 lines of book, each ended by CR LF.
Bytes writeInsertImage(const InsertBook& book);

} // namespace led
