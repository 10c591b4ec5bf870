#include "core/protocol/Frames.h"
#include "core/protocol/UnitSelection.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(Frames, AddressHeaders)
{
    struct Case
    {
        const char* name;
        int colorSet;
        std::vector<int> units;
        Bytes header;
    } cases[] = {
        {"colour, units 1 and 3", 2, {1, 3}, Bytes("\xFF\x18\xE7\x02\x01\x03\x00", 7)},
        {"mono, nothing selected", 1, {}, Bytes("\xFF\x80\x7F\x01\x00\x01", 6)},
        {"colour set 0 starts with the count", 0, {5}, Bytes("\x01\x05\x04", 3)},
        {"colour set 7 has no prefix", 7, {0}, Bytes("\x01\x00\x01", 3)},
    };
    for (const auto& c : cases) {
        TSystemparameter s;
        s.colorSet = c.colorSet;
        for (int u : c.units)
            s.machine[u] = 1;
        EXPECT_EQ(addressHeader(s), c.header) << c.name;
        EXPECT_EQ(s.machine[0], c.units.empty() || c.units[0] == 0 ? 1 : 0) << c.name;
    }
}

TEST(Frames, AllUnitsGiveACountOfZero)
{
    TSystemparameter s;
    s.machine.fill(1);
    const Bytes list = machineList(s);
    ASSERT_EQ(list.size(), 258u);
    EXPECT_EQ(list[0], '\0');
    EXPECT_EQ(list[256], '\xFF');
    EXPECT_EQ(static_cast<std::uint8_t>(list[257]), xorSum(list.substr(0, 257)));
}

TEST(Frames, SelfTestTransmission)
{
    TSystemparameter s;
    s.colorSet = 2;
    EXPECT_EQ(addressHeader(s) + closedFrame(CmdSelfTest),
              Bytes("\xFF\x18\xE7\x01\x00\x01\xFF\x09\xF6\xFF\xF4\x0B", 12));
}

TEST(Frames, EndFramesAndNames)
{
    EXPECT_EQ(endFrame(), "\xFF\xF4\x0B");
    EXPECT_EQ(closedFrame(CmdInsert, "x"), Bytes("\xFF\x07\xF8x"));
    EXPECT_EQ(closedFrame(CmdNewsCount), Bytes("\xFF\x40\xBF"));
    EXPECT_EQ(closedFrame(CmdNewsData), Bytes("\xFF\x41\xBE"));
    EXPECT_EQ(closedFrame(CmdPower, "\x01\x01"), Bytes("\xFF\x11\xEE\x01\x01\xFF\xF4\x0B"));
    EXPECT_STREQ(findCommand(0x1B)->name, "更改傳輸率");
    EXPECT_STREQ(findCommand(0xF4)->name, "結束傳送");
    EXPECT_EQ(findCommand(0x42), nullptr);
    EXPECT_EQ(commandTable().size(), 23u);
}

TEST(Frames, XorSumAndHexDump)
{
    EXPECT_EQ(xorSum(""), 0);
    EXPECT_EQ(xorSum("\x02\x01\x03"), 0);
    EXPECT_EQ(hexDump("\xFF\x80\x7F"), "FF 80 7F ");
    EXPECT_EQ(hexDump("\x0A\xFF"), "0A FF ");
    EXPECT_EQ(hexDump(""), "");
}

TEST(Frames, GetdisplayHasNoFallback)
{
    TSystemparameter s;
    getdisplay(s);
    EXPECT_EQ(s.selectedCount, 0);
    EXPECT_EQ(s.machine[0], 0);
    s.machine[9] = 1;
    s.machine[2] = 1;
    getdisplay(s);
    EXPECT_EQ(s.selectedUnits, Bytes("\x02\x09"));
}

TEST(UnitSelection, GroupButtons)
{
    TSystemparameter s;
    UnitSelection d;
    d.setUnit(100, true);
    d.setGroup(2, true); // "1組" is checked from the start
    d.pbAllClick(s);
    for (int n = 0; n < 256; ++n)
        EXPECT_EQ(s.machine[n], (n < 16 || (n >= 32 && n < 48) || n == 100) ? 1 : 0) << n;

    UnitSelection only16;
    only16.setGroup(0, false);
    only16.setGroup(15, true);
    TSystemparameter t;
    only16.pbAllClick(t);
    EXPECT_EQ(UnitSelection::panelText(t).rfind("傳送台號: 240 241 242", 0), 0u);
    EXPECT_FALSE(only16.group(0));

    d.pbResetClick(s);
    EXPECT_EQ(s.machine[100], 1);
    EXPECT_EQ(s.machine[3], 0);
}

TEST(UnitSelection, OkWithNothingCheckedThenTheNextTransmissionUsesUnitZero)
{
    TSystemparameter s;
    s.machine[4] = 1;
    UnitSelection d;
    d.loadChecks(s);
    d.setUnit(4, false);
    EXPECT_EQ(d.pbOkClick(s), "傳送台號: ");
    EXPECT_EQ(s.machine[0], 0);
    EXPECT_EQ(machineList(s, &d), Bytes("\x01\x00\x01", 3));
    EXPECT_EQ(s.machine[0], 1);
    EXPECT_FALSE(d.unit(0)); // the boxes are not changed
}

TEST(UnitSelection, CancelKeepsTheBoxesAndPanelText)
{
    TSystemparameter s;
    s.machine[3] = 1;
    s.machine[12] = 1;
    EXPECT_EQ(UnitSelection::panelText(s), "傳送台號: 3 12 ");
    UnitSelection d;
    d.loadChecks(s);
    d.setUnit(7, true);
    d.pbCancelClick(s);
    EXPECT_EQ(s.machine[7], 1);
    EXPECT_EQ(s.selectedUnits, Bytes("\x03\x07\x0C"));
}

} // namespace
} // namespace led
