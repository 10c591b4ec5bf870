#pragma once

#include "core/document/Document.h"
#include "core/document/GlyphTable.h"
#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace led {

struct UploadOptions
{
    bool append = false;          // "附加模式"; overwrite ("覆蓋模式") otherwise
    bool displayFlagMode = false; // "選擇幕號傳送": the marked screens, whatever the range
    bool glyphs = false;          // "傳送圖形": the glyph upload follows the screens
};

struct UploadStream
{
    Bytes bytes;
    std::vector<std::string> log; // "pic: " lines, one per glyph reference sent
};

// The text of one screen as the sign takes it: attribute and byte pairs, one pair per cell.
struct EncodedText
{
    Bytes bytes;
    int cells = 0;
    Bytes glyphCodes; // the code byte of every glyph reference sent, in order
};

// Cells of a screen's text on the sign: twice the width byte the block announces.
int textCells(int signWidth);

// Elements that would run past maxCells are left out, so a block never grows beyond the
// size the sign reads; references that name no glyph 0..99 are left out too.
EncodedText encodeText(const TContect& text, bool allWide, int maxCells);

// One screen block; streamXor is the XOR of every byte of the stream before the block, so
// the check byte brings the XOR of the whole stream to zero. A "pic: " line is added to log
// for every glyph reference sent.
Bytes screenBlock(const TScreenRec& screen, const TContect& text, int signWidth, int sequence,
                  std::uint8_t streamXor, std::vector<std::string>* log = nullptr);

// Screens first..last (0-based), or the screens marked for display in display-flag mode.
// The range is pulled into 0..253 and put in order, as the send dialog does.
UploadStream encodeScreens(const Document& doc, TSystemparameter& s, const GlyphTable& glyphs,
                           int first, int last, const UploadOptions& options);

// Glyphs 0..2 always, the others when their code bytes hold anything; mono code bytes for a
// single-colour sign, colour code bytes otherwise.
Bytes encodeGlyphs(TSystemparameter& s, const GlyphTable& glyphs);

// The one-line file written instead of sending: baud rate, 54 "0", the stream, CR LF.
Bytes transmissionDataFile(int baudRate, std::string_view stream);

} // namespace led
