#pragma once

#include "core/text/Big5.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace led {

// Reads back what the program sends: any byte string to the transmissions it holds, with
// every check byte verified. Nothing here throws; what does not fit is reported.

struct DecodedField
{
    std::string name;  // UTF-8
    std::string value; // UTF-8
};

struct AddressHeader
{
    std::size_t offset = 0;
    Bytes raw;
    int colorSet = 0; // from the sign-type prefix: 1 FF 80 7F, 2 FF 18 E7, 0 none
    std::uint8_t countByte = 0;
    std::vector<int> units; // a count byte of 0 means none, or all 256 when they follow
    std::uint8_t check = 0;
    std::uint8_t expectedCheck = 0;
    bool checkOk = false;
    bool complete = false;
    bool ascending = true;
};

// One element of a screen's text as sent: 2 bytes for a single-byte character, 4 for a
// double-byte character or a glyph reference.
struct TextCell
{
    enum class Kind
    {
        Single,
        Double,
        Glyph,
        Damaged // neither form: 2 bytes taken so the rest can still be read
    };
    Kind kind = Kind::Single;
    std::size_t offset = 0;
    Bytes wire;
    int glyph = -1; // glyph number as sent, for Glyph
};

struct ScreenBlock
{
    std::size_t offset = 0;
    Bytes raw;
    std::uint8_t width = 0;
    std::uint8_t sequence = 0;
    std::uint8_t stay = 0;
    std::uint8_t entry = 0;
    std::uint8_t split = 0;
    std::uint8_t speed = 0;
    std::vector<TextCell> cells; // padding excluded
    Bytes text;                  // as the editor keeps it: glyphs as 0xFA and their code
    Bytes attributes;            // one byte per text byte
    int textWidth = 0;           // cells, padding excluded
    int padding = 0;             // trailing 41 20 pairs
    std::uint8_t stayAgain = 0;
    std::uint8_t exit = 0;
    Bytes tail; // should be 00 00
    std::uint8_t check = 0;
    std::uint8_t expectedCheck = 0; // running XOR of the stream before the check byte
    bool checkOk = false;
    std::vector<std::string> problems;
};

struct GlyphBlock
{
    std::size_t offset = 0;
    std::uint8_t lead = 0; // 00
    int number = 0;
    Bytes code; // 32 mono or 64 colour code bytes
    std::uint8_t check = 0;
    std::uint8_t expectedCheck = 0;
    bool checkOk = false;
    std::vector<std::string> problems;
};

struct ClockData
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 Sunday … 6 Saturday
    bool digitsOk = true;
    std::uint8_t check = 0;
    std::uint8_t expectedCheck = 0;
    bool checkOk = false;
};

struct DecodedScheduleRow
{
    std::size_t offset = 0;
    Bytes raw;
    bool inUse = false;
    int dayChoice = 0;   // 0 every day, 1–6 Monday–Saturday, 7 Sunday, 8 not in use
    int weekdayCode = 0; // 8 every day, 1–6, 0 Sunday, 7 not in use
    int hour = 0;
    int minute = 0;
    int first = 0;
    int last = 0;
    bool consistent = true; // the digit bytes agree with the numbers
};

struct InsertMessage
{
    int slot = 0;
    int count = 0;
    bool automatic = false;
    Bytes text;
    bool terminated = false; // 00 00 00 found
};

struct BrightFrame
{
    enum class Kind
    {
        Query,
        SetLevel,
        SetBaud,
        Reply,
        Unknown
    };
    Kind kind = Kind::Unknown;
    std::uint8_t unit = 0; // ASCII digit
    Bytes body;
    std::uint8_t mode = 0;  // '1' fixed, '2' automatic, '4' controller baud rate
    std::uint8_t value = 0; // level, or baud code minus one
    std::uint8_t check = 0;
    std::uint8_t expectedCheck = 0;
    bool checkOk = false;
    bool etxOk = false;
};

struct Frame
{
    enum class Kind
    {
        Command,
        Bright,
        Unknown // bytes that fit nothing
    };
    Kind kind = Kind::Command;
    std::size_t offset = 0;
    std::uint8_t code = 0;
    std::string name; // UTF-8
    Bytes raw;
    Bytes payload; // after FF, code, complement; BRIGHT: the body; Unknown: the bytes
    std::vector<DecodedField> fields;
    bool checkOk = true; // no check byte in the frame failed
    std::vector<std::string> problems;

    std::vector<ScreenBlock> screens;
    std::vector<GlyphBlock> glyphs;
    std::optional<ClockData> clock;
    std::vector<DecodedScheduleRow> schedule;
    std::optional<InsertMessage> insert;
    std::optional<BrightFrame> bright;

    // The value of the named field, empty when there is none.
    std::string value(std::string_view fieldName) const;
};

struct Transmission
{
    std::size_t offset = 0;
    std::size_t length = 0;
    std::optional<long> fileBaud; // set when read out of a transmission data file
    bool preamble = false;        // 30 "0" in front
    std::optional<AddressHeader> header;
    std::vector<Frame> frames;
    bool lineEnd = false; // CR LF after the stream
    std::vector<std::string> problems;

    // Every check byte right, nothing unknown, nothing missing.
    bool ok() const;
};

std::vector<Transmission> decodeTransmissions(std::string_view bytes);

// The baud rate of a transmission data file (6 digits, 54 "0"), nothing for other input.
std::optional<long> dataFileBaud(std::string_view bytes);

// A readable listing in Traditional Chinese with the bytes in hex.
std::string formatListing(const std::vector<Transmission>& transmissions);

} // namespace led
