#include "core/document/IniFile.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(IniFile, RewriteKeepsEveryByte)
{
    const Bytes files[] = {
        "[SYSTEM]\r\nCOMPORT=1\r\nLASTFILE=C:\\P\\DATA\\\xA5\xBC\xA9\x52\xA6\x57.CFG\r\n",
        "; comment\n\n[A]\nx = 1 \n\n[b]\nnot an entry\ny=\n",
        "[S]\rk=v", // CR ends and no final end
        "",
        "junk before any section\r\n[S]\r\n",
    };
    for (const auto& f : files) {
        EXPECT_EQ(IniFile::parse(f).serialize(), f);
        // Writing a value that is already there changes nothing either.
        IniFile ini = IniFile::parse(f);
        if (auto v = ini.value("S", "k"))
            ini.writeString("S", "k", *v);
        EXPECT_EQ(ini.serialize(), f);
    }
}

TEST(IniFile, LookUpIgnoresAsciiCaseAndTrimsBlanks)
{
    const auto ini = IniFile::parse("[System]\r\n  ComPort = 3 \r\nName=\xA4\xA4\xA4\xE5\r\n");
    EXPECT_EQ(ini.readInteger("SYSTEM", "COMPORT", 1), 3);
    EXPECT_EQ(ini.readString("system", "name", ""), "\xA4\xA4\xA4\xE5");
    EXPECT_EQ(ini.readString("SYSTEM", "missing", "def"), "def");
    EXPECT_FALSE(ini.value("Other", "ComPort"));
}

TEST(IniFile, TrailBytesAreNotCaseFolded)
{
    // 0xA4 0x41 and 0xA4 0x61 are two different characters.
    const auto ini = IniFile::parse("[S]\n\xA4\x41=1\n");
    EXPECT_EQ(ini.readInteger("S", "\xA4\x41", 0), 1);
    EXPECT_EQ(ini.readInteger("S", "\xA4\x61", 0), 0);
}

TEST(IniFile, IntegersReadAsWindowsDoes)
{
    const std::pair<const char*, int> cases[] = {
        {"12", 12},  {" 7", 7}, {"12abc", 12}, {"-4", -4},  {"+5", 5},
        {"abc", 99}, {"", 99},  {"-", 99},     {"0x10", 0}, {"99999999999", 2147483647},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(IniFile::parseInteger(text, 99), value) << text;

    const auto ini = IniFile::parse("[S]\na=yes\nb=2\nc=0\n");
    EXPECT_TRUE(ini.readBool("S", "a", true)); // not a number: the default
    EXPECT_FALSE(ini.readBool("S", "a", false));
    EXPECT_TRUE(ini.readBool("S", "b", false));
    EXPECT_FALSE(ini.readBool("S", "c", true));
}

TEST(IniFile, WritesReplaceInPlaceAndAppendAfterTheLastEntry)
{
    IniFile ini = IniFile::parse("[A]\r\nx=1\r\n; note\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    ini.writeInteger("a", "X", 5);
    ini.writeString("A", "new", "\xA4\xA4");
    ini.writeBool("C", "flag", true);
    ini.writeString("B", "z", "3");
    EXPECT_EQ(ini.serialize(), "[A]\r\nx=5\r\n; note\r\ny=2\r\nnew=\xA4\xA4\r\n\r\n[B]\r\nz=3\r\n"
                               "[C]\r\nflag=1\r\n");
}

TEST(IniFile, NewFileKeepsTheOrderOfWriting)
{
    IniFile ini;
    ini.writeString("S", "b", "1");
    ini.writeString("S", "a", "2");
    ini.writeString("T", "c", "");
    EXPECT_EQ(ini.serialize(), "[S]\r\nb=1\r\na=2\r\n[T]\r\nc=\r\n");
}

TEST(IniFile, AppendingToAFileWithoutFinalLineEnd)
{
    IniFile lf = IniFile::parse("[S]\nk=v");
    lf.writeString("S", "n", "1");
    EXPECT_EQ(lf.serialize(), "[S]\nk=v\nn=1\n");
    IniFile empty = IniFile::parse("[S]");
    empty.writeString("S", "n", "1");
    EXPECT_EQ(empty.serialize(), "[S]\r\nn=1\r\n");
}

TEST(IniFile, FirstOfDuplicateKeysWins)
{
    IniFile ini = IniFile::parse("[S]\nk=1\nk=2\n[s]\nk=3\n");
    EXPECT_EQ(ini.readInteger("S", "k", 0), 1);
    ini.writeInteger("S", "K", 4);
    EXPECT_EQ(ini.serialize(), "[S]\nk=4\nk=2\n[s]\nk=3\n");
}

} // namespace
} // namespace led
