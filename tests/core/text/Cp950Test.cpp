#include "core/text/Cp950.h"
#include "core/text/Big5.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(Cp950, RoundTripsChineseText)
{
    const auto b = utf8ToCp950("中文字幕機 A1");
    ASSERT_TRUE(b);
    EXPECT_EQ(*b, Bytes("\xA4\xA4\xA4\xE5\xA6\x72\xB9\xF5\xBE\xF7 A1"));
    EXPECT_EQ(cp950ToUtf8(*b), "中文字幕機 A1");
    EXPECT_EQ(big5("未命名"), Bytes("\xA5\xBC\xA9\x52\xA6\x57"));
}

TEST(Cp950, RefusesCharactersWithoutABig5Code)
{
    EXPECT_FALSE(utf8ToCp950("中😀"));
    EXPECT_FALSE(utf8ToCp950("\xE4\xB8")); // cut UTF-8
}

TEST(Cp950, BadBytesBecomeReplacementsAndTheRestStays)
{
    EXPECT_EQ(cp950ToUtf8("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(cp950ToUtf8("\xA4\xA4\xFA\x41\xA4\xE5"), "中\xEF\xBF\xBD文");
    EXPECT_EQ(cp950ToUtf8("\xA4"), "\xEF\xBF\xBD");
}

TEST(Cp950, DisplayTextNamesGlyphs)
{
    EXPECT_EQ(textForDisplay("\xA4\xA4\xFA\xA8"
                             "x"),
              "中{圖57}x");
    EXPECT_EQ(textForDisplay("\xFA\x41"), "{圖0}");
    EXPECT_EQ(textForDisplay(""), "");
}

} // namespace
} // namespace led
