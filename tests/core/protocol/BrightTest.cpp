#include "core/protocol/Bright.h"

#include <gtest/gtest.h>

#include <random>

namespace led {
namespace {

Bytes reply(char mode, std::uint8_t level)
{
    Bytes r("\x02"
            "BRIGHT1",
            8);
    r += mode;
    r += static_cast<char>(level);
    r += Bytes("\x00\x03", 2);
    return r;
}

TEST(Bright, Frames)
{
    struct Case
    {
        const char* name;
        Bytes frame;
        Bytes expected;
    } cases[] = {
        {"query", brightQuery(), Bytes("\x02\x42\x52\x49\x47\x48\x54\x31\x01\x30\x00\x03", 12)},
        {"unit 1, fixed, 200", brightSetFrame('1', BrightMode::Fixed, 200),
         Bytes("\x02\x42\x52\x49\x47\x48\x54\x31\x02\x31\xC8\xCA\x03", 13)},
        {"unit 0, automatic, 127", brightSetFrame('0', BrightMode::Automatic, 127),
         Bytes("\x02"
               "BRIGHT\x30\x02\x32\x00\x00\x03",
               13)},
        {"controller baud, code 3", brightBaudFrame('1', 3),
         Bytes("\x02"
               "BRIGHT\x31\x02\x34\x02\x05\x03",
               13)},
        {"controller baud, code 1, unit 9", brightBaudFrame('9', 1),
         Bytes("\x02"
               "BRIGHT\x39\x02\x34\x00\x0F\x03",
               13)},
        {"controller baud, code 0 sends nothing", brightBaudFrame('1', 0), Bytes()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.frame, c.expected) << c.name;
}

TEST(Bright, LevelFolding)
{
    struct Case
    {
        BrightMode mode;
        int slider;
        int level;
    } cases[] = {
        {BrightMode::Automatic, 127, 0},   {BrightMode::Automatic, 200, 73},
        {BrightMode::Automatic, 126, 128}, {BrightMode::Automatic, 1, 253},
        {BrightMode::Automatic, 255, 128}, {BrightMode::Fixed, 200, 200},
        {BrightMode::Fixed, 1, 1},         {BrightMode::Fixed, 0, 1},
        {BrightMode::Fixed, 300, 255},     {BrightMode::Automatic, -5, 253},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brightLevel(c.mode, c.slider), c.level) << c.slider;
}

TEST(Bright, ReplyInterpretation)
{
    using R = std::optional<BrightReading>;
    struct Case
    {
        const char* name;
        Bytes buffer;
        R shown;
    } cases[] = {
        {"fixed 0 is full", reply('1', 0), BrightReading{BrightMode::Fixed, 255}},
        {"automatic 73", reply('2', 73), BrightReading{BrightMode::Automatic, 200}},
        {"automatic 154", reply('2', 154), BrightReading{BrightMode::Automatic, 100}},
        {"fixed 200", reply('1', 200), BrightReading{BrightMode::Fixed, 200}},
        {"automatic 127", reply('2', 127), BrightReading{BrightMode::Automatic, 127}},
        {"automatic 255 stays on the slider", reply('2', 255),
         BrightReading{BrightMode::Automatic, 1}},
        {"mode 3 ignored", reply('3', 50), std::nullopt},
        {"eleven bytes", reply('1', 9).substr(0, 11), std::nullopt},
        {"empty", Bytes(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(interpretBrightReply(c.buffer), c.shown) << c.name;
}

TEST(Bright, ReceiveBufferIsTakenWholeAtTwelveBytes)
{
    Bytes buffer;
    const Bytes r = reply('2', 73);
    EXPECT_EQ(receiveBrightBytes(buffer, r.substr(0, 5)), std::nullopt);
    EXPECT_EQ(receiveBrightBytes(buffer, r.substr(5, 6)), std::nullopt);
    EXPECT_EQ(buffer.size(), 11u);
    // The twelfth byte and the start of the next reply come in one batch.
    EXPECT_EQ(receiveBrightBytes(buffer, r.substr(11) + "\x02"
                                                        "BR"),
              (BrightReading{BrightMode::Automatic, 200}));
    EXPECT_TRUE(buffer.empty());

    EXPECT_EQ(receiveBrightBytes(buffer, reply('3', 1)), std::nullopt);
    EXPECT_TRUE(buffer.empty());
}

TEST(Bright, AnyBytesAreSafe)
{
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
    Bytes buffer;
    for (int round = 0; round < 2000; ++round) {
        Bytes batch(static_cast<std::size_t>(length(gen)), '\0');
        for (char& b : batch)
            b = static_cast<char>(byte(gen));
        if (const auto r = receiveBrightBytes(buffer, batch)) {
            EXPECT_GE(r->slider, BrightSliderMin);
            EXPECT_LE(r->slider, BrightSliderMax);
        }
        EXPECT_LT(buffer.size(), BrightReplySize);
    }
}

} // namespace
} // namespace led
