#include "core/document/MsgFile.h"

#include <gtest/gtest.h>

namespace led {
namespace {

// A document that uses most of the record fields and both kinds of characters.
Document sampleDocument()
{
    Document doc;
    doc.screen(1) = {0, 1, 0, 3, 5, 17, 255, 0};
    doc.content(1) = {"\xA4\xA4\xA4\xE5"
                      "A",
                      "\x01\x01\x05\x05\x41"};
    doc.screen(2) = {0, 0, 0, 15, 0, 2, 3, 255};
    doc.content(2) = {"\xA4\xA4\xA4\xA4", "\x21\x21\xA1\xA1"}; // a wide character
    doc.screen(254) = {0, 1, 0, 1, 1, -1, 7, 4};
    doc.content(254) = {"\xFA\x41", "\x01\x01"};
    return doc;
}

Bytes plainImageWithLines(const std::vector<Bytes>& lines, std::size_t recordBytes = 6144)
{
    Bytes image(recordBytes, '\0');
    for (const auto& l : lines)
        image += l + "\r\n";
    return image;
}

TEST(MsgFile, PlainLayout)
{
    const Bytes image = writeMsgImage(sampleDocument());
    // Record of screen 1: flags, reserved, then five little-endian integers.
    EXPECT_EQ(image.substr(0, 24), Bytes("\x00\x01\x00\x00\x03\x00\x00\x00\x05\x00\x00\x00"
                                         "\x11\x00\x00\x00\xFF\x00\x00\x00\x00\x00\x00\x00",
                                         24));
    EXPECT_EQ(image.substr(253 * 24 + 12, 4), Bytes("\xFF\xFF\xFF\xFF"));
    EXPECT_EQ(image.substr(6144, 16), Bytes("\xA4\xA4\xA4\xE5"
                                            "A\r\n\x01\x01\x05\x05\x41\r\n"
                                            "\xA4\xA4"));
    // 514 lines, no extension block.
    std::size_t ends = 0;
    for (std::size_t i = 6144; i + 1 < image.size(); ++i)
        ends += image[i] == '\r' && image[i + 1] == '\n';
    EXPECT_EQ(ends, 514u);
    EXPECT_EQ(image.find('\0', 6144), Bytes::npos);
}

TEST(MsgFile, PlainFilesRewriteByteForByte)
{
    // Spare records and pairs carry whatever the file brought.
    std::vector<Bytes> lines(514);
    lines[0] = "hello";
    lines[1] = "AAAAA";
    lines[510] = "spare text";
    lines[511] = "\x19\x19";
    lines[513] = "last";
    Bytes image = plainImageWithLines(lines);
    image[254 * 24 + 2] = '\x7F'; // reserved bytes of a spare record
    image[255 * 24 + 20] = '\x09';

    Document doc;
    ASSERT_TRUE(readMsgImage(image, doc));
    EXPECT_EQ(doc.records()[254].reserved, 0x7F);
    EXPECT_EQ(doc.pairs()[255].attr, "\r\r");
    EXPECT_EQ(doc.pairs()[256].attr, "last");
    EXPECT_EQ(writeMsgImage(doc), image);

    const Bytes sample = writeMsgImage(sampleDocument());
    Document again;
    ASSERT_TRUE(readMsgImage(sample, again));
    EXPECT_EQ(again, sampleDocument());
    EXPECT_EQ(writeMsgImage(again), sample);
}

TEST(MsgFile, CarriageReturnAttributeTravelsAs19)
{
    Document doc;
    doc.content(3) = {"ab\xA4\xA4", "\x0D\x41\x0D\x0D"};
    const Bytes image = writeMsgImage(doc);
    EXPECT_NE(image.find("ab\xA4\xA4\r\n\x19\x41\x19\x19\r\n"), Bytes::npos);
    EXPECT_EQ(doc.content(3).attr, "\x0D\x41\x0D\x0D"); // memory keeps 0x0D
    Document back;
    ASSERT_TRUE(readMsgImage(image, back));
    EXPECT_FALSE(back.pairs().empty());
    EXPECT_EQ(back.content(3).attr, "\x0D\x41\x0D\x0D");
}

TEST(MsgFile, BytesTheLinesCannotCarryRoundTripThroughTheExtension)
{
    Document doc = sampleDocument();
    doc.content(5) = {"\xA4\xA4"
                      "ab",
                      Bytes("\x0A\x0A\x00\x19", 4)}; // black on yellow, ...
    doc.content(9) = {"x\ny", "AAA"};                // a text with a line end
    doc.pairs()[256] = {"", Bytes("\x00", 1)};
    const Bytes image = writeMsgImage(doc);

    Document back;
    const auto r = readMsgImage(image, back);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r.extension);
    EXPECT_EQ(back, doc);
    EXPECT_EQ(writeMsgImage(back), image);

    // A reader of the plain layout stops at the 0x00 and finds 514 well-formed lines.
    const std::size_t zero = image.find('\0', 6144);
    ASSERT_NE(zero, Bytes::npos);
    Document plain;
    const auto p = readMsgImage(image.substr(0, zero), plain);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p.extension);
    EXPECT_EQ(plain.content(5).text, doc.content(5).text);
    EXPECT_EQ(plain.content(5).attr.size(), 4u);
    EXPECT_EQ(plain.content(9).text.size(), 3u);
    EXPECT_EQ(plain.content(1), doc.content(1));
}

TEST(MsgFile, DamagedExtensionIsIgnored)
{
    Document doc;
    doc.content(5) = {"ab", "\x0A\x0A"};
    Bytes image = writeMsgImage(doc);
    image.back() ^= 0x55; // check sum
    Document back;
    const auto r = readMsgImage(image, back);
    EXPECT_TRUE(r);
    EXPECT_FALSE(r.extension);
    EXPECT_EQ(back.content(5).text, "ab");
    EXPECT_EQ(back.content(5).attr, "\x01\x01"); // the stand-ins
}

TEST(MsgFile, ShortFilesKeepTheRestOfTheDocument)
{
    const Bytes full = writeMsgImage(sampleDocument());
    Document before;
    before.screen(200).speed = 9;
    before.content(200) = {"kept", "AAAA"};

    // Records cut in the middle of screen 2.
    Document cut = before;
    auto r = readMsgImage(full.substr(0, 24 + 10), cut);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(cut.screen(1), sampleDocument().screen(1));
    EXPECT_EQ(cut.screen(2), before.screen(2));
    EXPECT_EQ(cut.content(1), before.content(1));

    // Records whole, only 3 lines: one pair read.
    std::vector<Bytes> lines = {"t1", "AA", "t2"};
    Document some = before;
    r = readMsgImage(plainImageWithLines(lines), some);
    EXPECT_FALSE(r);
    EXPECT_EQ(some.content(1).text, "t1");
    EXPECT_EQ(some.content(2), before.content(2));
    EXPECT_EQ(some.content(200), before.content(200));
}

TEST(MsgFile, AnyPrefixOrDamageReadsWithoutHarm)
{
    Document doc = sampleDocument();
    doc.content(5) = {"ab", "\x0A\x0A"};
    const Bytes image = writeMsgImage(doc);
    for (std::size_t len = 0; len <= image.size(); len += (len < 6200 ? 23 : 1)) {
        Document d;
        readMsgImage(image.substr(0, len), d);
        for (int n = 1; n <= ScreenCount; ++n)
            ASSERT_EQ(d.content(n).text.size(), d.content(n).attr.size()) << len;
    }
    Bytes noise = image;
    for (std::size_t i = 6144; i < noise.size(); i += 7)
        noise[i] = static_cast<char>(i * 31);
    Document d;
    readMsgImage(noise, d);
}

TEST(MsgFile, AttributesOutOfStepWithTheirTextAreRepaired)
{
    // Written by an older program: an attribute 0x0A split a line, shifting the rest.
    std::vector<Bytes> lines(514);
    lines[0] = "abc";
    lines[1] = "A";
    lines[2] = "x";
    lines[3] = "AAAA";
    Document doc;
    const auto r = readMsgImage(plainImageWithLines(lines), doc);
    EXPECT_TRUE(r);
    EXPECT_EQ(r.repairedPairs, 2);
    EXPECT_EQ(doc.content(1).attr, "AAA");
    EXPECT_EQ(doc.content(2).attr, "A");
}

} // namespace
} // namespace led
