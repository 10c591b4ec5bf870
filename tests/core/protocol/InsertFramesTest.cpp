#include "core/protocol/InsertFrames.h"
#include "core/protocol/Frames.h"

#include <gtest/gtest.h>

namespace led {
namespace {

const Bytes TwoChars("\xA4\xA4\xA4\xE5", 4); // 中文

Bytes blanks(std::size_t n)
{
    return Bytes(n, ' ');
}

const Bytes Tail("\0\0\0", 3);

TEST(InsertFrames, Frames)
{
    struct Case
    {
        const char* name;
        Bytes frame;
        Bytes expected;
    } cases[] = {
        {"manual line 3, two characters, count 10", manualInsertFrame(3, 10, TwoChars),
         Bytes("\xFF\x07\xF8\x03\x0A  ", 7) + TwoChars + blanks(10) + Tail},
        {"empty manual line", manualInsertFrame(1, 10, ""),
         Bytes("\xFF\x07\xF8\x01\x0A  ", 7) + blanks(10) + Tail},
        {"automatic slot 0", automaticInsertFrame(0, 250, "AB"),
         Bytes("\xFF\x07\xF8\x00\xFA AB", 8) + blanks(14) + Tail},
        {"automatic slot 9, empty", automaticInsertFrame(9, 1, ""),
         Bytes("\xFF\x07\xF8\x09\x01 ", 6) + blanks(14) + Tail},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexDump(c.frame), hexDump(c.expected)) << c.name;
}

TEST(InsertFrames, TransmissionHasNoEndFrame)
{
    TSystemparameter s;
    s.colorSet = 2;
    s.machine[1] = s.machine[3] = 1;
    const Bytes header("\xFF\x18\xE7\x02\x01\x03\x00", 7);
    EXPECT_EQ(manualInsert(s, 3, 10, TwoChars), header + manualInsertFrame(3, 10, TwoChars));
    EXPECT_EQ(automaticInsert(s, 4, 10, TwoChars), header + automaticInsertFrame(4, 10, TwoChars));

    TSystemparameter none; // nothing selected: unit 0
    none.colorSet = 1;
    const Bytes sent = manualInsert(none, 1, 10, "");
    EXPECT_EQ(sent.substr(0, 6), Bytes("\xFF\x80\x7F\x01\x00\x01", 6));
    EXPECT_EQ(sent.substr(sent.size() - 3), Tail);
    EXPECT_EQ(none.machine[0], 1);
}

} // namespace
} // namespace led
