#include "core/document/CodeTables.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(CodeTables, ListsHaveTheirSizes)
{
    EXPECT_EQ(entryEffects().size(), 25u);
    EXPECT_EQ(exitEffects().size(), 29u);
    EXPECT_EQ(exitEffects().front().code, 255);
}

TEST(CodeTables, EveryListedNameRoundTrips)
{
    for (const auto& e : entryEffects()) {
        EXPECT_EQ(FrontS2I(big5(e.utf8)), e.code) << e.utf8;
        EXPECT_EQ(FrontI2S(e.code), big5(e.utf8)) << e.code;
    }
    for (const auto& e : exitEffects()) {
        EXPECT_EQ(RearS2I(big5(e.utf8)), e.code) << e.utf8;
        EXPECT_EQ(RearI2S(e.code), big5(e.utf8)) << e.code;
    }
}

TEST(CodeTables, ConversionDefaults)
{
    EXPECT_EQ(FrontS2I(big5("向右移入")), 0);
    EXPECT_EQ(FrontI2S(1), big5("向左移入"));
    EXPECT_EQ(FrontI2S(24), big5("向左移入"));
    EXPECT_EQ(RearS2I(big5("射出")), 19);
    EXPECT_EQ(RearI2S(19), big5("射出"));
    EXPECT_EQ(RearS2I(big5("向右移出")), 1);
    EXPECT_EQ(RearI2S(1), big5("向右移出"));
    EXPECT_EQ(RearI2S(255), big5("續幕"));
    EXPECT_EQ(RearI2S(11), big5("續幕"));
    EXPECT_EQ(RearS2I(big5("續幕")), 255);
    EXPECT_EQ(RearS2I("nothing"), 0);
}

TEST(CodeTables, DelayConversions)
{
    const std::pair<const char*, int> s2i[] = {{"0", 0},  {"1", 1}, {"15", 15}, {"16", 16},
                                               {"17", 1}, {"", 1},  {"07", 1},  {"x", 1}};
    for (const auto& [text, value] : s2i)
        EXPECT_EQ(DelayS2I(text), value) << text;
    const std::pair<int, const char*> i2s[] = {{0, "0"},   {1, "1"},  {2, "2"},
                                               {16, "16"}, {17, "1"}, {-3, "1"}};
    for (const auto& [value, text] : i2s)
        EXPECT_EQ(DelayI2S(value), text) << value;
}

TEST(CodeTables, SplitConversions)
{
    std::string error;
    EXPECT_EQ(SplitS2I(big5("繼續"), &error), 0);
    EXPECT_EQ(SplitS2I(big5("解除"), &error), 255);
    EXPECT_EQ(SplitS2I("3", &error), 3);
    EXPECT_EQ(SplitS2I("-2", &error), -2);
    EXPECT_TRUE(error.empty());

    for (const char* bad : {"x", "", "3a", "99999999999"}) {
        error.clear();
        EXPECT_EQ(SplitS2I(bad, &error), 0) << bad;
        EXPECT_EQ(error.rfind("轉換錯誤:", 0), 0u) << error;
    }
    EXPECT_EQ(SplitS2I("x"), 0); // without a report

    EXPECT_EQ(SplitI2S(0), big5("繼續"));
    EXPECT_EQ(SplitI2S(255), big5("解除"));
    EXPECT_EQ(SplitI2S(8), "8");
}

} // namespace
} // namespace led
