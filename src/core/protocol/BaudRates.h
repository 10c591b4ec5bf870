#pragma once

#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <array>
#include <cstdint>
#include <optional>

namespace led {

inline constexpr int BaudIndexCount = 14;
inline constexpr int DefaultBaudIndex = 6; // 2400

// One item of the menu "傳輸率選擇"; the index is the item's tag and the kept baud index.
struct BaudRate
{
    int index;
    int baud;
    const char* statusText; // status panel 5
};

const std::array<BaudRate, BaudIndexCount>& baudTable();
constexpr bool isBaudIndex(int index)
{
    return index >= 1 && index <= BaudIndexCount;
}
// A hand-edited .CFG may hold any index; outside 1..14 it is taken as 2400 so that the
// serial writer always has a rate for its transmit time.
const BaudRate& baudEntryForIndex(int index);
int baudRateForIndex(int index);

// Only the menu items 1200, 2400, 4800, 9600, 19200 and 38400 (tags 4, 6, 7, 9, 10, 11)
// send a baud-rate change; the others only change the menu check and the status text.
bool baudTagSends(int tag);
// The sign knows four codes: 0 for 1200, 1 for 2400, 2 for 4800, 3 for anything faster.
std::optional<std::uint8_t> baudCodeForRate(int baud);
std::optional<std::uint8_t> baudCodeForTag(int tag);

// The rates the serial sweep steps through, in order, sending the change at each.
inline constexpr std::array<int, 6> BaudSweepRates = {1200, 2400, 4800, 9600, 19200, 38400};

// Sign-type prefix, unit list from getdisplay, FF 1B E4 code, FF F4 0B. The unit list has
// no unit-0 fallback here: with no unit selected it is the count 0 and the check byte 0.
// Rebuilds the selected-unit count and string of the settings.
Bytes baudChangeTransmission(TSystemparameter& s, std::uint8_t baudCode);

} // namespace led
