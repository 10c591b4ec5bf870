#include "core/editor/TextList.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace led {
namespace {

const Bytes Zhong = "\xA4\xA4"; // 中

Bytes letters(std::size_t n)
{
    Bytes s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

Bytes zhongs(std::size_t n)
{
    Bytes s;
    for (std::size_t i = 0; i < n; ++i)
        s += Zhong;
    return s;
}

TSystemparameter widthSettings(int signWidth)
{
    TSystemparameter s;
    s.signWidth = signWidth;
    return s;
}

struct CutCase
{
    const char* name;
    Bytes file;
    std::size_t width;
    std::vector<Bytes> pieces;
};

TEST(TextList, CutsRowsOfTheSignWidth)
{
    const Bytes a45 = letters(45), a50 = letters(50), a70 = letters(70);
    // A double-byte character at bytes 20-21 moves whole to the next row.
    const Bytes straddle = letters(19) + Zhong + letters(5);
    const CutCase cases[] = {
        {"45 bytes", a45, 20, {a45.substr(0, 20), a45.substr(20, 20), a45.substr(40)}},
        {"50 bytes, half to even",
         a50,
         20,
         {a50.substr(0, 20), a50.substr(20, 20), a50.substr(40)}},
        {"70 bytes, fifth empty",
         a70,
         20,
         {a70.substr(0, 20), a70.substr(20, 20), a70.substr(40, 20), a70.substr(60), ""}},
        {"5 bytes", letters(5), 20, {letters(5)}},
        {"straddling character", straddle, 20, {letters(19) + " ", Zhong + letters(5)}},
        {"line ends flow on", "abc\r\ndef\nghi\rjk\r\n", 20, {"abcdefghijk", ""}},
        {"empty file", "", 20, {""}},
        {"only line ends", "\r\n\r\n", 20, {""}},
        {"exact rows", zhongs(20), 20, {zhongs(10), zhongs(10), ""}},
        {"glyph reference is one element",
         letters(19) + "\xFA\x41",
         20,
         {letters(19) + " ", "\xFA\x41"}},
        {"narrowest row", "a" + Zhong + "b", 2, {"a ", Zhong, "b"}},
    };
    for (const auto& c : cases) {
        const TextListCut cut = cutTextList(c.file, c.width);
        EXPECT_EQ(cut.pieces, c.pieces) << c.name;
        EXPECT_EQ(cut.droppedBytes, 0u) << c.name;
        EXPECT_FALSE(cut.droppedHalfCharacter) << c.name;
    }
}

TEST(TextList, SplitRowsNeverLoseTheTail)
{
    // Every row gives up its last byte to a split character: 760 bytes need 40 rows where
    // round(760 / 20) + 1 gives only 39.
    const Bytes segment = zhongs(9) + "a";
    Bytes file;
    for (int i = 0; i < 40; ++i)
        file += segment;
    const TextListCut cut = cutTextList(file, 20);
    ASSERT_EQ(cut.pieces.size(), 40u);
    for (std::size_t i = 0; i + 1 < cut.pieces.size(); ++i)
        EXPECT_EQ(cut.pieces[i], segment + " ") << i;
    EXPECT_EQ(cut.pieces.back(), segment);
    EXPECT_EQ(cut.droppedBytes, 0u);
}

TEST(TextList, DamagedEndsAreReported)
{
    const TextListCut half = cutTextList("ab\r\n\xA4\xA4\xA4", 20);
    EXPECT_EQ(half.pieces, std::vector<Bytes>{"ab\xA4\xA4"});
    EXPECT_TRUE(half.droppedHalfCharacter);

    const TextListCut zero = cutTextList(Bytes("ab\0cd", 5), 20);
    EXPECT_EQ(zero.pieces, std::vector<Bytes>{"ab"});
    EXPECT_TRUE(zero.endedAtZero);

    const TextListCut many = cutTextList(letters(100), 20, 3);
    EXPECT_EQ(many.pieces.size(), 3u);
    EXPECT_EQ(many.droppedBytes, 40u);
}

TEST(TextList, ImportedTextIsRedOnBlack)
{
    EXPECT_EQ(textListAttributes("A" + Zhong + "\xA4\x40" + "\xFA\x41"),
              Bytes("\x41\x01\x01\x01\x41\x01\x41"));
}

TEST(TextList, ImportReplacesTextsOnly)
{
    Document doc;
    doc.screen(1).front = 20;
    doc.screen(4).display = 1;
    doc.content(4) = {"old", "\x05\x05\x05"};
    doc.content(200) = {"old", "\x05\x05\x05"};
    doc.pairs()[254] = {"spare", "\x41\x41\x41\x41\x41"};
    doc.pairs()[255] = {"spare", "\x41\x41\x41\x41\x41"};
    const Document before = doc;

    const TextListResult r = importTextList(doc, widthSettings(10), letters(25) + Zhong);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(r.pieces, 2);
    EXPECT_EQ(doc.content(1).text, letters(20));
    EXPECT_EQ(doc.content(1).attr, Bytes(20, '\x41'));
    EXPECT_EQ(doc.content(2).text, letters(25).substr(20) + Zhong);
    EXPECT_EQ(doc.content(2).attr, "\x41\x41\x41\x41\x41\x01\x01");
    EXPECT_EQ(doc.content(4), TContect{});
    EXPECT_EQ(doc.content(200), TContect{});
    EXPECT_EQ(doc.records(), before.records());
    EXPECT_EQ(doc.pairs()[254], before.pairs()[254]);
    EXPECT_EQ(doc.pairs()[255], before.pairs()[255]);
    EXPECT_FALSE(doc.saved());
}

TEST(TextList, ImportKeepsWhatFitsAndSaysWhatDidNot)
{
    Document doc;
    const TextListResult r = importTextList(doc, widthSettings(5), letters(255 * 10) + "\xA4");
    ASSERT_TRUE(r);
    EXPECT_EQ(r.pieces, ScreenCount);
    EXPECT_EQ(doc.content(254).text, letters(255 * 10).substr(253 * 10, 10));
    EXPECT_NE(r.message.find(texts::TextListOverflow), std::string::npos);
    EXPECT_NE(r.message.find(texts::TextListHalfCharacter), std::string::npos);
}

TEST(TextList, ImportRefusesAWidthWithoutRows)
{
    for (int width : {0, -3}) {
        Document doc;
        doc.content(1) = {"keep", "AAAA"};
        const Document before = doc;
        const TextListResult r = importTextList(doc, widthSettings(width), "abc");
        EXPECT_FALSE(r);
        EXPECT_EQ(r.message, texts::TextListBadWidth);
        EXPECT_EQ(doc, before);
        EXPECT_TRUE(doc.saved());
    }
}

TEST(TextList, ExportWritesEverySlot)
{
    Document doc;
    doc.content(1) = {"ab" + Zhong, "\x41\x41\x01\x01"};
    doc.content(2) = {Zhong + Zhong, "\x21\x21\xA1\xA1"}; // a wide character
    doc.content(3) = {"\xFA\x41", "\x01\x01"};
    doc.pairs()[255] = {"spare", "AAAAA"};
    doc.pairs()[256] = {"never", "AAAAA"};

    const Bytes out = exportTextList(doc);
    Bytes expected = "ab" + Zhong + "\r\n" + Zhong + Zhong + "\r\n\xFA\x41\r\n";
    for (int slot = 3; slot < 255; ++slot)
        expected += "\r\n";
    expected += "spare\r\n";
    EXPECT_EQ(out, expected);
}

TEST(TextList, RoundTripOfFullRows)
{
    Document doc;
    for (int n = 1; n <= ScreenCount; ++n)
        doc.content(n) = {n % 2 ? letters(20) : zhongs(10), ""};
    doc.content(7) = {Zhong + Zhong + zhongs(8), "\x21\x21\xA1\xA1" + Bytes(16, '\x01')};
    doc.content(9) = {"\xFA\x41" + letters(18), ""};

    Document again;
    ASSERT_TRUE(importTextList(again, widthSettings(10), exportTextList(doc)));
    for (int n = 1; n <= ScreenCount; ++n) {
        EXPECT_EQ(again.content(n).text, doc.content(n).text) << n;
        EXPECT_EQ(again.content(n).attr, textListAttributes(doc.content(n).text)) << n;
    }
    EXPECT_EQ(again.content(7).attr, Bytes(20, '\x01')); // the wide mark does not come back
}

TEST(TextList, ShortLinesDoNotComeBackAsTheyWere)
{
    Document doc;
    doc.content(1) = {"abc", "AAA"};
    doc.content(2) = {"def", "AAA"};
    Document again;
    ASSERT_TRUE(importTextList(again, widthSettings(10), exportTextList(doc)));
    EXPECT_EQ(again.content(1).text, "abcdef");
    EXPECT_EQ(again.content(2).text, "");
}

TEST(TextList, FilesOnDisk)
{
    test::TempDir dir;
    Document doc;
    doc.content(1) = {letters(20), Bytes(20, 'A')};
    ASSERT_TRUE(saveTextList(doc, dir / "LIST.TXT"));

    Document again;
    ASSERT_TRUE(loadTextList(again, widthSettings(10), dir / "LIST.TXT"));
    EXPECT_EQ(again.content(1).text, letters(20));

    const TextListResult noFolder = saveTextList(doc, dir / "none" / "LIST.TXT");
    EXPECT_FALSE(noFolder);
    EXPECT_EQ(noFolder.message.rfind(texts::TextListWriteFailed, 0), 0u);
}

TEST(TextList, UnreadableFilesLeaveTheDocument)
{
    test::TempDir dir;
    {
        std::ofstream big(dir / "BIG.TXT");
    }
    std::filesystem::resize_file(dir / "BIG.TXT", MaxTextListBytes + 1); // sparse, quick

    const struct
    {
        const char* name;
        std::filesystem::path path;
    } cases[] = {
        {"missing", dir / "NONE.TXT"},
        {"folder", dir.path()},
        {"too large", dir / "BIG.TXT"},
    };
    for (const auto& c : cases) {
        Document doc;
        doc.content(1) = {"keep", "AAAA"};
        const Document before = doc;
        const TextListResult r = loadTextList(doc, widthSettings(10), c.path);
        EXPECT_FALSE(r) << c.name;
        EXPECT_EQ(r.message.rfind(texts::TextListReadFailed, 0), 0u) << c.name;
        EXPECT_GT(r.message.size(), std::string(texts::TextListReadFailed).size()) << c.name;
        EXPECT_EQ(doc, before) << c.name;
        EXPECT_TRUE(doc.saved()) << c.name;
    }
}

TEST(TextList, DefaultNameIsTheDate)
{
    EXPECT_EQ(textListDefaultName(2024, 3, 7), "20240307");
}

} // namespace
} // namespace led
