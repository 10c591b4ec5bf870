#include "core/document/GlyphTable.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace led {

GlyphTable GlyphTable::blank()
{
    GlyphTable t;
    for (int g = 0; g < GlyphCount; ++g)
        std::fill_n(t.record(g) + GlyphColourCode, GlyphRecordSize - GlyphColourCode, 0x01);
    return t;
}

int GlyphTable::load(std::string_view image)
{
    const std::size_t whole = std::min(image.size(), GlyphTableSize) / GlyphRecordSize;
    std::memcpy(m_bytes.data(), image.data(), whole * GlyphRecordSize);
    return static_cast<int>(whole);
}

void GlyphTable::setPixel(int glyph, int x, int y, bool red, bool green)
{
    m_bytes[pixelAt(glyph, GlyphRedPlane, x, y)] = red ? 1 : 0;
    m_bytes[pixelAt(glyph, GlyphGreenPlane, x, y)] = green ? 1 : 0;
}

void GlyphTable::MakeCode(int glyph, bool horizontal)
{
    if (!isGlyphNumber(glyph))
        return;
    std::array<std::uint8_t, 32> anyBits{}, redBits{}, greenBits{};
    int bit = 0;
    int byte = 0;
    auto visit = [&](int x, int y) {
        const auto mask = static_cast<std::uint8_t>(1u << bit);
        const bool r = red(glyph, x, y);
        const bool g = green(glyph, x, y);
        if (g)
            greenBits[byte] |= mask;
        if (r)
            redBits[byte] |= mask;
        if (r || g)
            anyBits[byte] |= mask;
        if (++bit == 8) {
            bit = 0;
            ++byte;
        }
    };
    if (horizontal) {
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y)
                visit(x, y);
    } else {
        for (int y = 0; y < 16; ++y)
            for (int x = 15; x >= 0; --x)
                visit(x, y);
    }

    std::uint8_t* colour = record(glyph) + GlyphColourCode;
    std::uint8_t* mono = record(glyph) + GlyphMonoCode;
    for (int k = 0; k < 16; ++k) {
        colour[4 * k] = redBits[2 * k];
        colour[4 * k + 1] = redBits[2 * k + 1];
        colour[4 * k + 2] = greenBits[2 * k];
        colour[4 * k + 3] = greenBits[2 * k + 1];
        // Single-colour signs take each pair of the lit plane in reverse order.
        mono[2 * k] = anyBits[2 * k + 1];
        mono[2 * k + 1] = anyBits[2 * k];
    }
}

void GlyphTable::makeAllCodes(bool horizontal)
{
    for (int g = 0; g < GlyphCount; ++g)
        MakeCode(g, horizontal);
}

FileResult readGlyphFile(const std::filesystem::path& path, GlyphTable& table,
                         bool blankWhenMissing)
{
    std::optional<Bytes> bytes;
    if (FileResult r = readFileIfExists(path, bytes); !bytes) {
        if (r && blankWhenMissing)
            table = GlyphTable::blank();
        return r;
    }
    const int whole = table.load(*bytes);
    if (whole < GlyphCount)
        return FileResult::failure(path.string() + ": 圖形檔不完整，只讀到 " +
                                   std::to_string(whole) + " 個圖形");
    return {};
}

} // namespace led
