#pragma once

#include "core/document/FileIO.h"
#include "core/text/Big5.h"

#include <array>
#include <filesystem>

namespace led {

inline constexpr int PhraseCount = 300;
inline constexpr int ManualLineCount = 10;
inline constexpr int AutoRowCount = 100;
inline constexpr int InsertCountMin = 1;
inline constexpr int InsertCountMax = 250;
inline constexpr int InsertCountDefault = 10;

// What the insert window keeps in the project's insert file (.INT). Texts are Big5.
struct InsertBook
{
    std::array<Bytes, PhraseCount> dedicated{};  // "專用片語文字", the left phrase grid
    std::array<Bytes, ManualLineCount> manual{}; // line 10 is kept but never shown
    std::array<Bytes, PhraseCount> common{};     // "常用片語文字", also the phrase book's
    std::array<Bytes, AutoRowCount> automatic{}; // row 100 is kept but never shown
    int insertCount = InsertCountDefault;        // 1–250

    // A missing file, or one without any line, changes nothing.
    FileResult load(const std::filesystem::path& path);
    // Replaces the file; the unnamed project keeps its insert file too.
    FileResult save(const std::filesystem::path& path) const;

    bool operator==(const InsertBook&) const = default;
};

} // namespace led
