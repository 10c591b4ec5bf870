#include "core/editor/CompStr.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(CompStr, FindsTheAddedBytes)
{
    const Bytes zhong = big5("中");
    const struct
    {
        Bytes shorter, longer, chunk;
        std::size_t pos;
    } cases[] = {
        {"", "abc", "abc", 1},                        // nothing before: all of it
        {"abc", "abc", "", 1},                        // not shorter
        {"abcd", "abc", "", 1},                       //
        {"ac", "abc", "b", 2},                        // tail found after the new byte
        {"ab", "abc", "c", 3},                        // an empty tail is never found
        {"aab", "aaab", "a", 3},                      // equal bytes push the position on
        {"a" + zhong, "a" + zhong + zhong, zhong, 4}, // pairs compared whole
        {zhong + "b", zhong + "xb", "x", 3},          //
        {"xa", "x" + zhong + "a", zhong, 2},          // a pair where a single byte was
        {"ab", "aXYb", "XY", 2},                      //
        {"ab", "aXbY", "X", 2}, // the tail found early: fewer bytes than were added
    };
    for (const auto& c : cases) {
        const TCompStr got = CompStr(c.shorter, c.longer);
        EXPECT_EQ(got.chunk, c.chunk) << c.shorter << " / " << c.longer;
        EXPECT_EQ(got.pos, c.pos) << c.shorter << " / " << c.longer;
    }
}

TEST(CompStr, LoneLeadByteAtTheEndStaysInBounds)
{
    const TCompStr got = CompStr("a\xA4", "a\xA4\xA4\xA4\xA4");
    EXPECT_EQ(got.pos, 2u);
    EXPECT_EQ(got.chunk.size(), 3u);
}

} // namespace
} // namespace led
