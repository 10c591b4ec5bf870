#pragma once

#include "core/protocol/Decoder.h"
#include "core/text/Big5.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace led {

// The host's wall clock as the sign counts it: local time, no zone.
using LocalSeconds = std::chrono::local_seconds;

inline constexpr int SignColourMono = 1;
inline constexpr int SignColourColour = 2;
inline constexpr char DefaultBrightId = '1'; // the brightness dialog's default "ID:"

struct StoredScreen
{
    int width = 0;
    int stay = 0;
    int entry = 0;
    int split = 0;
    int speed = 0;
    int exit = 0;
    Bytes text;       // glyph references as 0xFA and their code, as the editor keeps them
    Bytes attributes; // one per text byte
    int padding = 0;  // 41 20 cells after the text
};

struct SignClock
{
    std::int64_t offsetSeconds = 0; // the sign's clock minus the host's
    std::string sent;               // "2024-03-07 14:05:39", as the command carried it
    int weekday = 0;                // as sent: 0 Sunday … 6 Saturday
};

struct StoredInsert
{
    int slot = 0;
    int count = 0;
    bool automatic = false;
    Bytes text;
};

struct StoredNews
{
    int count = 0;
    std::vector<Bytes> items; // in arrival order, without the two zero bytes
};

struct BrightnessController
{
    char id = DefaultBrightId; // acts on frames with this unit digit
    char mode = '1';           // '1' fixed, '2' automatic
    std::uint8_t level = 255;
    std::optional<int> baudCode; // told by the baud-rate change
};

struct SignCounters
{
    int transmissions = 0; // decoded from the lines
    int applied = 0;       // command frames that took effect (end frames not counted)
    int ignored = 0;       // transmissions for other units, BRIGHT frames for another ID
    int badChecks = 0;     // check bytes that did not match; their frames are not applied
    int rejected = 0;      // frames not applied for other damage: cut short, unknown bytes
    int versionShown = 0;
    int selfTests = 0;
    int inserts = 0;
};

struct SignState
{
    int unit = 0;
    int colourSet = SignColourColour;
    int width = 10;
    bool power = true;
    bool timer = false;
    bool append = false; // "附加模式"; overwrite clears the screens before a text frame
    std::optional<int> baudCode;
    std::optional<SignClock> clock;
    std::map<int, StoredScreen> screens;      // by sequence number
    std::map<int, Bytes> glyphs;              // code bytes by glyph number
    std::vector<DecodedScheduleRow> schedule; // the nine rows of the last table
    std::optional<StoredInsert> lastInsert;
    std::optional<StoredNews> news;
    BrightnessController brightness;
    SignCounters counters;
};

// Whether the frames arriving on a line are for this sign. Each address header decides;
// frames that follow an end frame without a header of their own (the power frame after a
// glyph upload) stay with the last header of their line.
struct LineAddressing
{
    bool addressed = false;
};

// A caption sign with its brightness controller: takes decoded transmissions and keeps
// what they store. Nothing here reads a clock; the host time is passed in.
class SignModel
{
public:
    explicit SignModel(SignState initial = {}) : m_state(std::move(initial)) {}

    const SignState& state() const { return m_state; }

    // Returns what the sign's line sends back: the brightness controller's replies.
    std::vector<Bytes> apply(const Transmission& t, LocalSeconds hostNow, LineAddressing& line);
    // Decodes the bytes and applies every transmission in them.
    std::vector<Bytes> receive(std::string_view bytes, LocalSeconds hostNow, LineAddressing& line);

private:
    void applyCommand(const Frame& f, int headerColourSet, LocalSeconds hostNow);
    bool applyClock(const ClockData& c, LocalSeconds hostNow);
    std::optional<Bytes> applyBright(const BrightFrame& b);

    SignState m_state;
};

// Check bytes of the frame that were there and wrong.
int wrongCheckBytes(const Frame& f);
// Nothing wrong with the frame or any block in it.
bool frameClean(const Frame& f);

} // namespace led
