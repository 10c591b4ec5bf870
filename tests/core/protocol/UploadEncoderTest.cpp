#include "core/protocol/UploadEncoder.h"

#include "core/protocol/Frames.h"

#include <gtest/gtest.h>

namespace led {
namespace {

Bytes b(std::initializer_list<int> values)
{
    Bytes out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

Bytes pad(int cells)
{
    Bytes out;
    for (int i = 0; i < cells; ++i)
        out += "\x41\x20";
    return out;
}

Bytes repeat(std::string_view s, int n)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// A colour sign of width 10 with nothing selected, so unit 0 is addressed.
struct Upload : ::testing::Test
{
    Upload() { s.colorSet = 2; }

    void setScreen(int n, std::string_view text, std::string_view attr)
    {
        doc.content(n) = {Bytes(text), Bytes(attr)};
    }

    Document doc;
    TSystemparameter s;
    GlyphTable glyphs;
};

TEST_F(Upload, ExampleStreams)
{
    const Bytes ab = b({0x0A, 0x01, 0x00, 0x00, 0x00, 0x01, 0x41, 0x41, 0x41, 0x42}) + pad(18) +
                     b({0x00, 0xFF, 0x00, 0x00});
    struct Case
    {
        const char* name;
        UploadOptions options;
        Bytes stream;
    } cases[] = {
        {"AB screen, overwrite",
         {},
         b({0xFF, 0x18, 0xE7, 0x01, 0x00, 0x01, 0xFF, 0x15, 0xEA, 0x00, 0x00, 0xFF, 0x01, 0xFE}) +
             ab + b({0xF6, 0xFF, 0xF4, 0x0B})},
        {"AB screen, append", // 01 01 leaves the check byte as it was
         {.append = true},
         b({0xFF, 0x18, 0xE7, 0x01, 0x00, 0x01, 0xFF, 0x15, 0xEA, 0x01, 0x01, 0xFF, 0x01, 0xFE}) +
             ab + b({0xF6, 0xFF, 0xF4, 0x0B})},
        {"display-flag mode with nothing marked",
         {.displayFlagMode = true},
         b({0xFF, 0x18, 0xE7, 0x01, 0x00, 0x01, 0xFF, 0x15, 0xEA, 0x00, 0x00, 0xFF, 0x01, 0xFE,
            0xFF, 0xF4, 0x0B})},
    };
    setScreen(1, "AB", "\x41\x41");
    for (const auto& c : cases) {
        const UploadStream out = encodeScreens(doc, s, glyphs, 0, 0, c.options);
        EXPECT_EQ(hexDump(out.bytes), hexDump(c.stream)) << c.name;
        EXPECT_TRUE(out.log.empty()) << c.name;
    }
}

TEST_F(Upload, TextEncodings)
{
    struct Case
    {
        const char* name;
        Bytes text, attr;
        bool allWide;
        Bytes sent; // the text section of the block, padding included
    } cases[] = {
        {"empty screen", "", "", false, pad(20)},
        {"one double-byte character", "\xA4\xA4", "\x01\x01", false,
         b({0x01, 0x01, 0xA4, 0xA4}) + pad(18)},
        {"all-wide drops single bytes", "x\xA4\xA4", "\x41\x01\x01", true,
         b({0x21, 0x21, 0xA4, 0xA4, 0xA1, 0xA1, 0xA4, 0xA4}) + pad(16)},
        {"glyph 49", "\xFA\x72", "\x01\x01", false, b({0x01, 0x01, 0xFA, 0x31}) + pad(18)},
        {"glyph 50", "\xFA\xA1", "\x01\x01", false, b({0x01, 0x01, 0xFA, 0x32}) + pad(18)},
        {"glyph attribute is always 01", "\xFA\x41", "\x06\x06", false,
         b({0x01, 0x01, 0xFA, 0x00}) + pad(18)},
        {"lone lead byte gets a zero trail", "A\xA4", "\x41\x05", false,
         b({0x41, 0x41, 0x05, 0x05, 0xA4, 0x00}) + pad(17)},
        {"single byte always marked single", "A", "\x06", false, b({0x46, 0x41}) + pad(19)},
        {"editor's wide character as it is", "\xA4\xA4\xA4\xA4", "\x21\x21\xA1\xA1", false,
         b({0x21, 0x21, 0xA4, 0xA4, 0xA1, 0xA1, 0xA4, 0xA4}) + pad(16)},
        {"all-wide drops glyphs", "\xFA\x41\xA4\xA4", "\x01\x01\x04\x04", true,
         b({0x24, 0x24, 0xA4, 0xA4, 0xA4, 0xA4, 0xA4, 0xA4}) + pad(16)},
        {"all-wide lone lead byte", "\xA4", "\x01", true,
         b({0x21, 0x21, 0xA4, 0x00, 0xA1, 0xA1, 0xA4, 0x00}) + pad(16)},
        {"missing attribute bytes are red", "A\xA4\xA4", "", false,
         b({0x41, 0x41, 0x01, 0x01, 0xA4, 0xA4}) + pad(17)},
        {"reference to no glyph is left out",
         "\xFA\xD3\xFA\x20"
         "A",
         "\x01\x01\x01\x01\x41", false, b({0x41, 0x41}) + pad(19)},
        {"lone glyph lead is left out", "A\xFA", "\x41\x01", false, b({0x41, 0x41}) + pad(19)},
        {"text longer than the sign is cut", repeat("x", 21), repeat("\x41", 21), false,
         repeat("\x41x", 20)},
        {"a character over the edge becomes padding", repeat("x", 19) + "\xA4\xA4",
         repeat("\x41", 21), false, repeat("\x41x", 19) + pad(1)},
        {"all-wide text longer than the sign is cut", repeat("\xA4\xA4", 6), repeat("\x01", 12),
         true, repeat(b({0x21, 0x21, 0xA4, 0xA4, 0xA1, 0xA1, 0xA4, 0xA4}), 5)},
    };
    for (const auto& c : cases) {
        TScreenRec r;
        r.allWide = c.allWide ? 1 : 0;
        const Bytes block = screenBlock(r, {c.text, c.attr}, 10, 1, 0);
        ASSERT_EQ(block.size(), 11u + 4 * 10) << c.name;
        EXPECT_EQ(hexDump(block.substr(6, 40)), hexDump(c.sent)) << c.name;
        EXPECT_EQ(xorSum(block), 0) << c.name;
    }
}

TEST_F(Upload, BlockParametersAreLowBytes)
{
    TScreenRec r;
    r.speed = 0x10F;
    r.stay = 7;
    r.front = -1;
    r.rear = 0x1FE;
    r.split = 3;
    const std::uint8_t before = 0x5A;
    const Bytes block = screenBlock(r, {}, 0x105, 254, before);
    ASSERT_EQ(block.size(), 11u + 4 * 5);
    EXPECT_EQ(block.substr(0, 6), b({0x05, 0xFE, 0x07, 0xFF, 0x03, 0x0F}));
    EXPECT_EQ(block.substr(26, 4), b({0x07, 0xFE, 0x00, 0x00}));
    EXPECT_EQ(xorSum(block), before);
}

TEST_F(Upload, RangesAndSequenceNumbers)
{
    struct Case
    {
        const char* name;
        int first, last;
        bool displayFlagMode;
        std::vector<int> sequences;
    } cases[] = {
        {"screens 3 and 4", 2, 3, false, {3, 4}},
        {"backwards range is put in order", 3, 2, false, {3, 4}},
        {"range past the ends is pulled in", 252, 400, false, {253, 254}},
        {"negative start", -5, 0, false, {1}},
        {"display flags ignore the range", 0, 0, true, {1, 2}},
    };
    doc.screen(3).display = 1;
    doc.screen(7).display = 1;
    const std::size_t head = 14; // address header, mode frame, FF 01 FE
    const std::size_t blockSize = 11 + 4 * 10;
    for (const auto& c : cases) {
        UploadOptions o;
        o.displayFlagMode = c.displayFlagMode;
        const Bytes out = encodeScreens(doc, s, glyphs, c.first, c.last, o).bytes;
        ASSERT_EQ(out.size(), head + c.sequences.size() * blockSize + 3) << c.name;
        for (std::size_t k = 0; k < c.sequences.size(); ++k) {
            const std::size_t end = head + (k + 1) * blockSize;
            EXPECT_EQ(static_cast<std::uint8_t>(out[end - blockSize + 1]), c.sequences[k])
                << c.name;
            EXPECT_EQ(xorSum(std::string_view(out).substr(0, end)), 0) << c.name << k;
        }
    }
}

TEST_F(Upload, GlyphReferencesAreLoggedAndGlyphsAppended)
{
    setScreen(1, "\xFA\x72", "\x01\x01");
    setScreen(2, "A\xFA\x41\xFA\xA1", "\x41\x01\x01\x01\x01");
    setScreen(3, "\xFA\x42\xA4\xA4", "\x01\x01\x01\x01");
    doc.screen(3).allWide = 1;
    UploadOptions o;
    o.glyphs = true;
    const UploadStream out = encodeScreens(doc, s, glyphs, 0, 2, o);
    EXPECT_EQ(out.log, (std::vector<std::string>{"pic: 72 ", "pic: 41 ", "pic: A1 "}));

    const Bytes screensOnly = encodeScreens(doc, s, glyphs, 0, 2, {}).bytes;
    EXPECT_EQ(out.bytes, screensOnly + encodeGlyphs(s, glyphs));
}

TEST(GlyphUpload, AlwaysGlyphsZeroToTwo)
{
    const Bytes tail = b({0xFF, 0xF4, 0x0B, 0xFF, 0x11, 0xEE, 0x01, 0x01, 0xFF, 0xF4, 0x0B});
    auto blank = [](int size) {
        Bytes out;
        for (int g = 0; g < 3; ++g)
            out += b({0x00, g}) + Bytes(size, '\0') + b({g});
        return out;
    };
    struct Case
    {
        const char* name;
        int colorSet;
        Bytes stream;
    } cases[] = {
        {"single-colour: 35-byte blocks", 1,
         b({0xFF, 0x80, 0x7F, 0x01, 0x00, 0x01, 0xFF, 0x03, 0xFC}) + blank(32) + tail},
        {"colour: 67-byte blocks", 2,
         b({0xFF, 0x18, 0xE7, 0x01, 0x00, 0x01, 0xFF, 0x03, 0xFC}) + blank(64) + tail},
        {"colour set 0: no prefix, colour code bytes", 0,
         b({0x01, 0x00, 0x01, 0xFF, 0x03, 0xFC}) + blank(64) + tail},
    };
    for (const auto& c : cases) {
        TSystemparameter s;
        s.colorSet = c.colorSet;
        EXPECT_EQ(hexDump(encodeGlyphs(s, GlyphTable())), hexDump(c.stream)) << c.name;
    }
}

TEST(GlyphUpload, DrawnGlyphsOnlyBeyondTheFirstThree)
{
    GlyphTable t;
    t.setPixel(5, 0, 0, true, false);
    t.setPixel(99, 15, 15, false, true);
    t.makeAllCodes(true);
    TSystemparameter s;
    s.colorSet = 1;
    const Bytes out = encodeGlyphs(s, t);
    const std::size_t head = 9;
    ASSERT_EQ(out.size(), head + 5 * 35 + 11);
    const std::string_view blocks = std::string_view(out).substr(head, 5 * 35);
    const int numbers[] = {0, 1, 2, 5, 99};
    for (int k = 0; k < 5; ++k) {
        const std::string_view block = blocks.substr(35 * k, 35);
        EXPECT_EQ(block[1], static_cast<char>(numbers[k]));
        EXPECT_EQ(xorSum(block), 0) << k;
    }
    EXPECT_EQ(blocks.substr(35 * 3 + 2, 2), b({0x00, 0x01}));  // glyph 5, mono group 0
    EXPECT_EQ(blocks.substr(35 * 4 + 32, 2), b({0x80, 0x00})); // glyph 99, mono group 15

    // A table never built by the editor carries 0x01 code bytes: every glyph goes out.
    EXPECT_EQ(encodeGlyphs(s, GlyphTable::blank()).size(), head + 100 * 35 + 11);
}

TEST(TransmissionDataFile, OneLine)
{
    struct Case
    {
        int baud;
        const char* prefix;
    } cases[] = {
        {2400, "002400"}, {230400, "230400"}, {150, "000150"}, {-1, "000000"}, {1000000, "999999"},
    };
    const Bytes stream = b({0xFF, 0x18, 0xE7, 0x00, 0x0D, 0x0A});
    for (const auto& c : cases) {
        EXPECT_EQ(transmissionDataFile(c.baud, stream), c.prefix + Bytes(54, '0') + stream + "\r\n")
            << c.baud;
    }
}

} // namespace
} // namespace led
