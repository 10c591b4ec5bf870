#include "sign/StreamAssembler.h"

#include "core/document/GlyphTable.h"
#include "core/protocol/Bright.h"
#include "core/protocol/ControlCommands.h"
#include "core/protocol/Frames.h"
#include "core/protocol/InsertFrames.h"
#include "core/protocol/UploadEncoder.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TSystemparameter colourSign()
{
    TSystemparameter s;
    s.colorSet = 2;
    return s;
}

Bytes uploadWithGlyphs()
{
    TSystemparameter s = colourSign();
    Document doc;
    doc.content(1) = {"AB", "\x41\x41"};
    UploadOptions o;
    o.glyphs = true;
    return encodeScreens(doc, s, GlyphTable{}, 0, 0, o).bytes;
}

// Each stream ends in a frame that closes it, so fed a byte at a time it comes out in
// pieces that each end where a transmission (or a closing frame) does.
TEST(StreamAssembler, ByteByByte)
{
    TSystemparameter s = colourSign();
    const Bytes selfTest("\xFF\x18\xE7\x01\x00\x01\xFF\x09\xF6\xFF\xF4\x0B", 12);
    struct Case
    {
        const char* name;
        Bytes stream;
        std::size_t pieces;
        std::size_t held; // bytes after the last closing frame, left for the idle gap
    } cases[] = {
        {"self-test", selfTest, 1, 0},
        {"insert, no end frame", manualInsert(s, 1, 5, big5("插播")), 1, 0},
        {"news count and item", newsCountTransmission(s, 1) + newsItemTransmission(s, 1), 2, 0},
        {"BRIGHT query", brightQuery(), 1, 0},
        {"upload with glyphs: end frames inside", uploadWithGlyphs(), 3, 0},
        {"preamble in front", Bytes(30, '0') + selfTestTransmission(s), 1, 0},
        {"two in a row", timerOffTransmission(s), 2, 0},
        {"network upload: CR LF after the end frame", selfTest + "\r\n", 1, 2},
    };
    for (const auto& c : cases) {
        StreamAssembler a;
        std::vector<Bytes> out;
        for (char b : c.stream)
            if (Bytes piece = a.feed(std::string_view(&b, 1)); !piece.empty())
                out.push_back(piece);
        Bytes joined;
        for (const auto& piece : out)
            joined += piece;
        EXPECT_EQ(joined + a.flush(), c.stream) << c.name;
        EXPECT_EQ(out.size(), c.pieces) << c.name;
        EXPECT_EQ(c.stream.size() - joined.size(), c.held) << c.name;
    }
    // Written in one piece, as the network writer does, the line end goes with it.
    StreamAssembler a;
    EXPECT_EQ(a.feed(selfTest + "\r\n"), selfTest + "\r\n");
}

TEST(StreamAssembler, HoldsWhatIsNotComplete)
{
    TSystemparameter s = colourSign();
    const Bytes open = powerTransmission(s, true);
    StreamAssembler a;
    // Without its end frame the power frame waits for the idle gap.
    EXPECT_EQ(a.feed(std::string_view(open).substr(0, open.size() - 3)), "");
    EXPECT_EQ(a.feed(std::string_view(open).substr(open.size() - 3, 2)), "");
    EXPECT_EQ(a.held(), open.size() - 1);
    EXPECT_EQ(a.feed(std::string_view(open).substr(open.size() - 1)), open);

    // A transmission cut short, then the next one whole: both come out together.
    const Bytes cut = open.substr(0, 8);
    EXPECT_EQ(a.feed(cut), "");
    EXPECT_EQ(a.feed(open), cut + open);

    EXPECT_EQ(a.feed(cut), "");
    EXPECT_EQ(a.flush(), cut);
    EXPECT_TRUE(a.empty());
}

TEST(StreamAssembler, NoiseIsNotHeldForever)
{
    StreamAssembler a;
    const Bytes noise(64 * 1024, '\x55');
    std::size_t out = 0;
    for (std::size_t sent = 0; sent <= StreamAssembler::HoldLimit; sent += noise.size())
        out += a.feed(noise).size();
    EXPECT_GT(out, 0u);
    EXPECT_LT(a.held(), StreamAssembler::HoldLimit);
}

} // namespace
} // namespace led
