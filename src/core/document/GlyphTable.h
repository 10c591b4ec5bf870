#pragma once

#include "core/document/FileIO.h"
#include "core/text/Big5.h"

#include <array>
#include <filesystem>
#include <cstdint>
#include <string_view>

namespace led {

inline constexpr std::size_t GlyphRecordSize = 608;
inline constexpr std::size_t GlyphTableSize = GlyphCount * GlyphRecordSize; // 60800
inline constexpr std::size_t GlyphRedPlane = 0;
inline constexpr std::size_t GlyphGreenPlane = 256;
inline constexpr std::size_t GlyphColourCode = 512;
inline constexpr std::size_t GlyphMonoCode = 576;

// The 100 user glyphs of 16 × 16 pixels, held exactly as the .GRA file stores them.
class GlyphTable
{
public:
    GlyphTable() { m_bytes.fill(0); }

    // Both planes clear and every code byte 0x01: the table of a project without a file.
    static GlyphTable blank();

    // Takes the whole records the image holds; a short image leaves the later glyphs as
    // they were. Returns the number of whole glyphs taken.
    int load(std::string_view image);
    std::string_view bytes() const
    {
        return {reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()};
    }

    // Pixel (x, y), both 0..15, y downwards; planes are stored column by column.
    bool red(int glyph, int x, int y) const { return m_bytes[pixelAt(glyph, GlyphRedPlane, x, y)]; }
    bool green(int glyph, int x, int y) const
    {
        return m_bytes[pixelAt(glyph, GlyphGreenPlane, x, y)];
    }
    void setPixel(int glyph, int x, int y, bool red, bool green);

    // Rebuilds the colour and mono code bytes of one glyph from its planes; the orientation
    // decides the bit layout the sign expects. A glyph outside 0..99 is ignored.
    void MakeCode(int glyph, bool horizontal);
    void makeAllCodes(bool horizontal);

    const std::uint8_t* record(int glyph) const { return m_bytes.data() + offset(glyph); }
    std::uint8_t* record(int glyph) { return m_bytes.data() + offset(glyph); }

    bool operator==(const GlyphTable&) const = default;

private:
    static std::size_t offset(int glyph)
    {
        return static_cast<std::size_t>(glyph) * GlyphRecordSize;
    }
    static std::size_t pixelAt(int glyph, std::size_t plane, int x, int y)
    {
        return offset(glyph) + plane + static_cast<std::size_t>(x * 16 + y);
    }

    std::array<std::uint8_t, GlyphTableSize> m_bytes;
};

// Reads a .GRA into the table. A missing file blanks the table when blankWhenMissing (the
// unnamed project) and otherwise leaves it; a short file gives the whole glyphs it holds
// and an error.
FileResult readGlyphFile(const std::filesystem::path& path, GlyphTable& table,
                         bool blankWhenMissing);

} // namespace led
