#include "core/protocol/ControlCommands.h"
#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led {
namespace {

const Bytes MonoUnit0("\xFF\x80\x7F\x01\x00\x01", 6);
const Bytes End("\xFF\xF4\x0B", 3);

// A single-colour sign with no unit selected: every header addresses unit 0.
struct ControlCommands : ::testing::Test
{
    ControlCommands() { s.colorSet = 1; }
    TSystemparameter s;
};

TEST(ClockData, DigitPairsAndCheckByte)
{
    struct Case
    {
        const char* name;
        ClockReading t;
        Bytes data;
        std::uint8_t check;
    } cases[] = {
        {"Thursday 2024-03-07 14:05:39",
         {2024, 3, 7, 14, 5, 39, 4},
         Bytes("\x09\x03\x05\x00\x04\x01\x07\x00\x03\x00\x04\x02\x04\x02\x00", 15),
         0x0E},
        {"Sunday 2000-01-02 09:05:07",
         {2000, 1, 2, 9, 5, 7, 0},
         Bytes("\x07\x00\x05\x00\x09\x00\x02\x00\x01\x00\x00\x00\x00\x02\x00", 15),
         0x0A},
        {"Saturday 1999-12-31 23:59:58",
         {1999, 12, 31, 23, 59, 58, 6},
         Bytes("\x08\x05\x09\x05\x03\x02\x01\x03\x02\x01\x09\x09\x06\x01\x09", 15),
         0x0F},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clockData(c.t), c.data) << c.name;
        EXPECT_EQ(xorSum(c.data), c.check) << c.name;
    }
}

TEST(ClockData, FieldsOutOfRangeStayDigits)
{
    const Bytes data = clockData({-1, 123, -7, 99, 100, 60, 9});
    ASSERT_EQ(data.size(), 15u);
    for (char b : data)
        EXPECT_LE(static_cast<std::uint8_t>(b), 9);
}

TEST(ClockData, Label)
{
    EXPECT_EQ(clockLabel({2024, 3, 7, 14, 5, 39, 4}), "2024/03/07-14:05:39");
}

TEST_F(ControlCommands, Transmissions)
{
    struct Case
    {
        const char* name;
        Bytes bytes;
        Bytes frame; // after the address header
    } cases[] = {
        {"open", powerTransmission(s, true), Bytes("\xFF\x11\xEE\x01\x01", 5) + End},
        {"close", powerTransmission(s, false), Bytes("\xFF\x11\xEE\x00\x00", 5) + End},
        {"set time", setTimeTransmission(s, {2024, 3, 7, 14, 5, 39, 4}),
         Bytes("\xFF\x02\xFD\x09\x03\x05\x00\x04\x01\x07\x00\x03\x00\x04\x02\x04\x02\x00\x0E", 19) +
             End},
        {"version", versionTransmission(s), Bytes("\xFF\x05\xFA") + End},
        {"unit number 255", unitNumberTransmission(s, 255), Bytes("\xFF\x06\xF9\xFF") + End},
        {"unit number 0", unitNumberTransmission(s, 0), Bytes("\xFF\x06\xF9\x00", 4) + End},
        {"clear", clearTransmission(s), Bytes("\xFF\x08\xF7") + End},
        {"self-test", selfTestTransmission(s), Bytes("\xFF\x09\xF6") + End},
        {"timer on", timerSwitchTransmission(s, true), Bytes("\xFF\x10\xEF\x01\x01") + End},
        {"width 12", signConfigTransmission(s, 12), Bytes("\xFF\x1A\xE5\x0C") + End},
        {"width 256 keeps the low byte", signConfigTransmission(s, 256),
         Bytes("\xFF\x1A\xE5\x00", 4) + End},
        {"news count 3", newsCountTransmission(s, 3), Bytes("\xFF\x40\xBF\x03\x03")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bytes, MonoUnit0 + c.frame) << c.name;
    EXPECT_EQ(s.machine[0], 1);
}

TEST_F(ControlCommands, HeaderFollowsSelectionAndColourSet)
{
    s.colorSet = 2;
    s.machine[1] = 1;
    s.machine[3] = 1;
    EXPECT_EQ(selfTestTransmission(s),
              Bytes("\xFF\x18\xE7\x02\x01\x03\x00\xFF\x09\xF6\xFF\xF4\x0B", 13));
    EXPECT_EQ(s.machine[0], 0);
}

TEST_F(ControlCommands, TimerOffIsTwoFramesEachBehindItsHeader)
{
    const Bytes bytes = timerOffTransmission(s);
    const Bytes first = MonoUnit0 + Bytes("\xFF\x10\xEF\x00\x00", 5) + End;
    ASSERT_EQ(bytes.size(), first.size() + MonoUnit0.size() + 3 + 144 + 1 + End.size());
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    Bytes second = MonoUnit0 + Bytes("\xFF\x04\xFB");
    for (int i = 0; i < 9; ++i)
        second += Bytes("\x08\x00\x00\x00\x00\x00\x00\x01\x00\x00\x01\x07\x00\x00\x01\x01", 16);
    second += Bytes("\x0F") + End;
    EXPECT_EQ(bytes.substr(first.size()), second);
}

TEST_F(ControlCommands, NewsTest)
{
    const Bytes item = Bytes("\xFF\x41\xBE") + "\xA7\x59\xAE\xC9\xB7\x73\xBB\x44\xB4\xFA\xB8\xD5";
    const auto three = newsTransmissions(s, 3);
    ASSERT_EQ(three.size(), 4u);
    EXPECT_EQ(three[0], MonoUnit0 + "\xFF\x40\xBF\x03\x03");
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(three[k], MonoUnit0 + item + std::to_string(k) + Bytes(2, '\0')) << k;

    const auto ten = newsTransmissions(s, 10);
    ASSERT_EQ(ten.size(), 11u);
    EXPECT_EQ(ten[10], MonoUnit0 + item + Bytes("\x31\x30\x00\x00", 4));

    // Beyond the dialog's range 1..10 the count is held to it.
    EXPECT_EQ(newsTransmissions(s, 0).size(), 2u);
    EXPECT_EQ(newsTransmissions(s, 11).size(), 11u);
    EXPECT_EQ(newsCountTransmission(s, 0), MonoUnit0 + "\xFF\x40\xBF\x01\x01");
}

TEST_F(ControlCommands, SettingsChanged)
{
    applyPower(s, true);
    EXPECT_EQ(s.opencloseled, 1);
    applyPower(s, false);
    EXPECT_EQ(s.opencloseled, 0);
    applyTimerState(s, true);
    EXPECT_EQ(s.Settime, 1);
    applyTimerState(s, false);
    EXPECT_EQ(s.Settime, 0);
    toggleTempset(s);
    EXPECT_TRUE(s.tempset);
    toggleTempset(s);
    EXPECT_FALSE(s.tempset);
    applyUnitNumber(s, 255);
    EXPECT_EQ(s.CodeNo, 255);
}

TEST_F(ControlCommands, SignConfiguration)
{
    s.machine[7] = 1;
    applySignConfig(s, 2, 12);
    EXPECT_EQ(s.colorSet, 2);
    EXPECT_EQ(s.signWidth, 12);
    // Built after the change: the colour prefix and the kept unit selection.
    EXPECT_EQ(signConfigTransmission(s, s.signWidth),
              Bytes("\xFF\x18\xE7\x01\x07\x06\xFF\x1A\xE5\x0C\xFF\xF4\x0B", 13));

    setCurrentColours(s, ForeGreen, BackYellow);
    applySignConfig(s, 1, 20);
    EXPECT_EQ(s.colorSet, 1);
    EXPECT_EQ(currentForeButton(s), ForeRed);
    EXPECT_EQ(currentBackButton(s), BackBlack);

    applySignConfig(s, 0, 30); // neither radio button: the colour set stays
    EXPECT_EQ(s.colorSet, 1);
    EXPECT_EQ(s.signWidth, 30);
}

TEST(SignWidth, TypedValues)
{
    struct Case
    {
        const char* text;
        std::optional<int> width;
    } cases[] = {
        {"12", 12},
        {" 40 ", 40},
        {"5", 5},
        {"255", 255},
        {"1", 1},
        {"0", std::nullopt},
        {"256", std::nullopt},
        {"", std::nullopt},
        {"1a", std::nullopt},
        {"-3", std::nullopt},
        {"12345678901", std::nullopt},
        {"\xFF", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSignWidth(c.text), c.width) << c.text;
}

TEST(ControlTexts, AreBig5)
{
    for (const char* t :
         {texts::TimeSent, texts::VersionSent, texts::UnitNumberSent, texts::ClearSent,
          texts::SelfTestSent, texts::SignOpened, texts::SignClosed, texts::NewsSent,
          texts::TimerClosed, texts::SignConfigWarning})
        EXPECT_TRUE(utf8ToCp950(t).has_value()) << t;
}

} // namespace
} // namespace led
