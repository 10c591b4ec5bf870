#pragma once

#include "core/text/Big5.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace led {

namespace texts {
inline constexpr const char* BrightnessSent = "字幕機亮度控制命令已送出！";
} // namespace texts

// The brightness controller's own frames travel without an address header:
// STX, "BRIGHT", body, xorSum of the body, ETX.
inline constexpr std::uint8_t BrightStx = 0x02;
inline constexpr std::uint8_t BrightEtx = 0x03;
inline constexpr std::size_t BrightReplySize = 12;
inline constexpr int BrightSliderMin = 1;
inline constexpr int BrightSliderMax = 255;
inline constexpr int BrightMiddle = 127;

enum class BrightMode
{
    Fixed,    // "固定模式", mode character "1"
    Automatic // "自動模式", mode character "2"
};

Bytes brightFrame(std::string_view body);
// Always asks unit "1": 02 "BRIGHT" 31 01 30 00 03.
Bytes brightQuery();
// Fixed mode sends the slider position; automatic mode folds it around the middle:
// p >= 127 gives p - 127, p < 127 gives 254 - p. The position is held to 1..255.
std::uint8_t brightLevel(BrightMode mode, int slider);
// unitDigit is the ASCII digit of the dialog's "ID:" list.
Bytes brightSetFrame(char unitDigit, BrightMode mode, int slider);
// Tells the controller the new line rate: unit digit, 02, "4", baud code - 1. Code 0
// (1200) has no controller code: nothing is sent for it, so the result is empty.
Bytes brightBaudFrame(char unitDigit, std::uint8_t baudCode);

// What the brightness dialog shows after a reply: its mode choice and the position of
// both the slider and the level bar.
struct BrightReading
{
    BrightMode mode = BrightMode::Fixed;
    int slider = BrightSliderMin;

    bool operator==(const BrightReading&) const = default;
};

// Reads byte 9 (mode "1" or "2") and byte 10 (level) of a buffer of 12 or more bytes;
// nothing for a shorter buffer or another mode byte. Positions stay within the slider's
// range 1..255.
std::optional<BrightReading> interpretBrightReply(std::string_view buffer);
// The receive path: appends a batch to the buffer; once it holds 12 bytes or more the
// whole buffer is interpreted and emptied, whatever it held.
std::optional<BrightReading> receiveBrightBytes(Bytes& buffer, std::string_view batch);

} // namespace led
