#pragma once

#include "core/document/Document.h"

#include <string>
#include <string_view>

namespace led {

inline constexpr std::size_t MsgRecordsSize = RecordCount * ScreenRecordSize; // 6144
inline constexpr int MsgLineCount = 2 * TextPairCount;                        // 514

struct MsgReadResult
{
    bool ok = true;
    std::string error;      // UTF-8 operator message when !ok
    bool extension = false; // exact strings were restored from the extension block
    int repairedPairs = 0;  // screens whose attribute string was brought to its text's length

    explicit operator bool() const { return ok; }
};

// Fills doc from a .MSG image. A short image fills what it holds and leaves the rest of
// doc as it was; the result then says what was missing.
MsgReadResult readMsgImage(std::string_view bytes, Document& doc);

// The .MSG image of doc: the plain layout, followed by an extension block only when some
// pair holds a byte that the line format cannot carry.
Bytes writeMsgImage(const Document& doc);

// True when the pair cannot be written as two plain lines without loss.
bool needsExtension(const TContect& pair);

} // namespace led
