#pragma once

#include "core/document/Document.h"
#include "core/document/FileIO.h"
#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace led {

namespace texts {
inline constexpr const char* TextListOpenFilter = "*.TXT|*.TXT";
inline constexpr const char* TextListSaveFilter = "*.TXT";
inline constexpr const char* TextListExtension = "TXT";
inline constexpr const char* TextListReadFailed = "讀取TXT檔案失敗！";
inline constexpr const char* TextListWriteFailed = "儲存TXT檔案失敗！";
inline constexpr const char* TextListTooLarge = "檔案過大，無法讀取！";
inline constexpr const char* TextListBadWidth = "字幕寬度設定錯誤，無法讀取TXT檔案！";
inline constexpr const char* TextListOverflow = "檔案內容超過 254 幕，多出的文字未讀入。";
inline constexpr const char* TextListZeroByte = "檔案中有 0x00 位元組，其後的內容未讀入。";
inline constexpr const char* TextListHalfCharacter = "檔案結尾的中文字不完整，已略去。";
} // namespace texts

// Far beyond any list of 254 screens; keeps a wrong file choice from filling memory.
inline constexpr std::uintmax_t MaxTextListBytes = 16u << 20;

// A text list flows into rows of this many bytes: the limit of a grid row.
std::size_t textListRowWidth(const TSystemparameter& settings);

struct TextListCut
{
    std::vector<Bytes> pieces;
    std::size_t droppedBytes = 0; // bytes left over once maxPieces were cut
    bool endedAtZero = false;     // a 0x00 byte ended the text, as it ends any text we read
    bool droppedHalfCharacter = false;
};

// Joins the file's lines, then cuts rows of rowWidth (>= 2) bytes that never split a
// double-byte character: round(len / rowWidth) + 1 pieces (half to even), and more when
// split characters would otherwise leave bytes uncut; at most maxPieces.
TextListCut cutTextList(std::string_view fileBytes, std::size_t rowWidth,
                        std::size_t maxPieces = ScreenCount);

// Imported text is red on black: 0x01 for a byte of a double-byte element, 0x41 otherwise.
Bytes textListAttributes(std::string_view text);

struct TextListResult
{
    bool ok = true;      // false: the document was not touched
    std::string message; // UTF-8, sentence first and reasons on later lines; empty when all went in
    int pieces = 0;      // pieces placed into screens, empty ones included

    explicit operator bool() const { return ok; }
};

// Screens 1..254 get the pieces (and empty texts past them); effects, timings, flags and
// the spare slots stay. The document is marked unsaved.
TextListResult importTextList(Document& doc, const TSystemparameter& settings,
                              std::string_view fileBytes);
TextListResult loadTextList(Document& doc, const TSystemparameter& settings,
                            const std::filesystem::path& path);

// 256 lines, the texts of slots 0..255 as stored, each ended by CR LF.
Bytes exportTextList(const Document& doc);
TextListResult saveTextList(const Document& doc, const std::filesystem::path& path);

// The name the save dialog proposes: the date as eight digits, year first.
std::string textListDefaultName(int year, int month, int day);

} // namespace led
