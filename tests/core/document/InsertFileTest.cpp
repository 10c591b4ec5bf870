#include "core/document/InsertFile.h"
#include "core/document/TextLines.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace led {
namespace {

Bytes lines(int count, const std::function<Bytes(int)>& text)
{
    Bytes out;
    for (int n = 1; n <= count; ++n)
        out += text(n) + "\r\n";
    return out;
}

// A book whose every text names its place, so a shifted line shows.
InsertBook marked(const char* tag)
{
    InsertBook b;
    for (int i = 0; i < PhraseCount; ++i) {
        b.dedicated[i] = std::string(tag) + "d" + std::to_string(i + 1);
        b.common[i] = std::string(tag) + "c" + std::to_string(i + 1);
    }
    for (int i = 0; i < ManualLineCount; ++i)
        b.manual[i] = std::string(tag) + "m" + std::to_string(i + 1);
    for (int i = 0; i < AutoRowCount; ++i)
        b.automatic[i] = std::string(tag) + "a" + std::to_string(i + 1);
    b.insertCount = 77;
    return b;
}

TEST(InsertFile, FullLayoutRoundTrips)
{
    InsertBook book = marked("");
    book.dedicated[0] = "\xA4\xA4\xA4\xE5"; // Big5 kept as bytes
    book.common[299].clear();
    book.insertCount = 250;
    const Bytes image = writeInsertImage(book);
    const auto split = splitTextLines(image);
    ASSERT_EQ(split.size(), 711u);
    EXPECT_EQ(split[300], "m1");
    EXPECT_EQ(split[312], "c3");
    EXPECT_EQ(split[610], "a1");
    EXPECT_EQ(split[710], "250");
    EXPECT_EQ(image.substr(image.size() - 5), "250\r\n");

    InsertBook read = marked("x");
    const auto result = readInsertImage(image, read);
    EXPECT_EQ(read, book);
    EXPECT_EQ(result.linesUsed, 711);
    EXPECT_FALSE(result.truncated);
    EXPECT_FALSE(result.badCount);
    EXPECT_EQ(writeInsertImage(read), image);

    // The smallest file the program writes.
    EXPECT_EQ(writeInsertImage(InsertBook{}).size(), 1424u);
}

TEST(InsertFile, EarlierLayoutsAndShortFiles)
{
    const auto empty = [](int) { return Bytes(); };
    const auto longText = [](int) { return Bytes(5, 'y'); };
    struct Case
    {
        const char* name;
        Bytes image;
        int commonRead;    // common phrases taken from the file
        int automaticRead; // automatic texts taken from the file
        int count;         // the count afterwards (77 when kept)
        bool truncated;
    } cases[] = {
        {"311 empty lines", lines(310, empty) + "12\r\n", 0, 0, 12, false},
        {"611 lines within 1250 bytes", lines(610, empty) + "13\r\n", 300, 0, 13, false},
        {"311 long lines", lines(310, longText) + "14\r\n", 0, 0, 14, true},
        {"611 long lines", lines(610, longText) + "15\r\n", 300, 0, 15, true},
        {"400 long lines of the full layout", lines(400, longText), 90, 0, 77, true},
        {"700 long lines of the full layout", lines(700, longText), 300, 90, 77, true},
        {"305 lines", lines(305, longText), 0, 0, 77, true},
    };
    for (const auto& c : cases) {
        InsertBook book = marked("");
        const auto result = readInsertImage(c.image, book);
        const auto split = splitTextLines(c.image);
        EXPECT_EQ(book.dedicated[0], split[0]) << c.name;
        EXPECT_EQ(book.manual[4], split[std::min<std::size_t>(304, split.size() - 1)]) << c.name;
        for (int i = 0; i < PhraseCount; ++i)
            ASSERT_EQ(book.common[i] == "c" + std::to_string(i + 1), i >= c.commonRead)
                << c.name << " common " << i;
        for (int i = 0; i < AutoRowCount; ++i)
            ASSERT_EQ(book.automatic[i] == "a" + std::to_string(i + 1), i >= c.automaticRead)
                << c.name << " automatic " << i;
        EXPECT_EQ(book.insertCount, c.count) << c.name;
        EXPECT_EQ(result.truncated, c.truncated) << c.name;
    }
}

TEST(InsertFile, OddInput)
{
    InsertBook book = marked("");
    const InsertBook before = book;
    EXPECT_EQ(readInsertImage("", book).linesUsed, 0);
    EXPECT_EQ(readInsertImage(Bytes("\0\r\nabc", 6), book).linesUsed, 0);
    EXPECT_EQ(book, before);

    // LF endings read as well; a count that is no number from 1 to 250 is kept.
    for (const char* count : {"abc", "0", "251", "", "99999999999", "-3"}) {
        InsertBook b = marked("");
        Bytes image = lines(710, [](int n) { return "t" + std::to_string(n); }) + count + "\n";
        for (std::size_t p; (p = image.find("\r\n")) != Bytes::npos;)
            image.erase(p, 1);
        const auto result = readInsertImage(image, b);
        EXPECT_EQ(b.insertCount, 77) << count;
        EXPECT_TRUE(result.badCount) << count;
        EXPECT_EQ(b.automatic[99], "t710") << count;
    }
    InsertBook spaced;
    readInsertImage(lines(710, [](int) { return Bytes(); }) + " 42 \r\n", spaced);
    EXPECT_EQ(spaced.insertCount, 42);
}

TEST(InsertFile, LineBreaksInTextsDoNotShiftLines)
{
    InsertBook book;
    book.manual[0] = "a\r\nb";
    book.dedicated[5] = Bytes("c\0d\ne", 5);
    book.insertCount = 0; // out of range: written as the nearest allowed count
    const Bytes image = writeInsertImage(book);
    ASSERT_EQ(splitTextLines(image).size(), 711u);
    InsertBook read;
    readInsertImage(image, read);
    EXPECT_EQ(read.manual[0], "a  b");
    EXPECT_EQ(read.dedicated[5], "c d e");
    EXPECT_EQ(read.insertCount, 1);
}

TEST(InsertFile, LoadAndSave)
{
    test::TempDir dir;
    const auto path = dir / "DATA" / "未命名.INT";
    InsertBook book = marked("");
    EXPECT_TRUE(book.load(path)); // missing: nothing changes
    EXPECT_EQ(book, marked(""));

    ASSERT_TRUE(book.save(path)); // the unnamed project keeps its insert file
    InsertBook read;
    ASSERT_TRUE(read.load(path));
    EXPECT_EQ(read, book);

    std::ofstream(path, std::ios::binary | std::ios::trunc).flush();
    EXPECT_TRUE(read.load(path)); // no line: nothing changes
    EXPECT_EQ(read, book);

    const auto folder = dir / "folder.INT";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(read.load(folder));
    EXPECT_FALSE(book.save(folder));
}

} // namespace
} // namespace led
