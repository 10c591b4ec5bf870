#pragma once

#include "core/text/Big5.h"

#include <array>
#include <cstdint>
#include <string>

namespace led {

inline constexpr int ScreenCount = 254;   // screens 1..254
inline constexpr int RecordCount = 256;   // records kept in a .MSG (two spare)
inline constexpr int TextPairCount = 257; // text pairs kept in a .MSG (three spare)
inline constexpr std::size_t ScreenRecordSize = 24;

struct TScreenRec
{
    std::uint8_t allWide = 0;
    std::uint8_t display = 0;
    std::uint16_t reserved = 0;
    std::int32_t speed = 1;
    std::int32_t stay = 0;
    std::int32_t front = 0;  // entry effect code
    std::int32_t rear = 255; // exit effect code
    std::int32_t split = 0;

    bool operator==(const TScreenRec&) const = default;
};

// A screen's text and its attribute string: one attribute byte per text byte.
struct TContect
{
    Bytes text;
    Bytes attr;

    bool operator==(const TContect&) const = default;
};

// The 254 screens plus the spare records and pairs that a .MSG carries.
class Document
{
public:
    Document() { resetDocument(); }

    // Every record and pairs 0..255 back to their defaults; pair 256 is left as it is.
    void resetDocument();

    // Screen n is 1..254; the spares are reachable only through record()/pair().
    static bool isScreen(int n) { return n >= 1 && n <= ScreenCount; }
    TScreenRec& screen(int n) { return m_records.at(n - 1); }
    const TScreenRec& screen(int n) const { return m_records.at(n - 1); }
    TContect& content(int n) { return m_texts.at(n - 1); }
    const TContect& content(int n) const { return m_texts.at(n - 1); }

    std::array<TScreenRec, RecordCount>& records() { return m_records; }
    const std::array<TScreenRec, RecordCount>& records() const { return m_records; }
    std::array<TContect, TextPairCount>& pairs() { return m_texts; }
    const std::array<TContect, TextPairCount>& pairs() const { return m_texts; }

    bool saved() const { return m_saved; }
    void setSaved(bool saved) { m_saved = saved; }

    bool operator==(const Document& other) const
    {
        return m_records == other.m_records && m_texts == other.m_texts;
    }

private:
    std::array<TScreenRec, RecordCount> m_records;
    std::array<TContect, TextPairCount> m_texts;
    bool m_saved = true;
};

} // namespace led
