#include "core/protocol/DeviceAnswers.h"

#include "core/protocol/Decoder.h"

#include <gtest/gtest.h>

namespace led {
namespace {

DeviceDescription device()
{
    DeviceDescription d;
    for (std::size_t i = 0; i < d.identity.size(); ++i)
        d.identity[i] = static_cast<std::uint8_t>(0xA0 + i);
    d.address = {192, 168, 0, 5};
    d.tcpPort = 4001;
    return d;
}

// What the program's own search makes of the answers.
TEST(DeviceAnswers, ParsedByTheSearch)
{
    const DeviceDescription d = device();
    const auto search = parseSearchAnswer(searchAnswerDatagram(d));
    ASSERT_TRUE(search);
    EXPECT_EQ(search->identity, d.identity);
    EXPECT_EQ(dottedAddress(search->address), "192.168.0.5");

    const auto serial = parseSerialSettingsAnswer(serialSettingsAnswerDatagram(d));
    ASSERT_TRUE(serial);
    EXPECT_EQ(serialSettingsText(*serial), "9600,None,8,1");

    EXPECT_EQ(parsePortAnswer(portAnswerDatagram(d)), 4001);

    // The given answer bytes: port A1 0F at bytes 27-28, baud 80 25 and line 03.
    const Bytes port = portAnswerDatagram(d);
    EXPECT_EQ(port.substr(26, 2), Bytes("\xA1\x0F", 2));
    const Bytes settings = serialSettingsAnswerDatagram(d);
    EXPECT_EQ(settings.substr(24, 2), Bytes("\x80\x25", 2));
    EXPECT_EQ(settings[28], '\x03');
}

TEST(DeviceAnswers, Requests)
{
    const DeviceDescription d = device();
    const DeviceIdentity other{};
    struct Case
    {
        const char* name;
        Bytes request;
        std::optional<Bytes> answer;
    } cases[] = {
        {"discovery", discoveryPacket(), searchAnswerDatagram(d)},
        {"poll", pollPacket(), searchAnswerDatagram(d)},
        {"serial settings query", serialSettingsQuery(d.identity), serialSettingsAnswerDatagram(d)},
        {"port query", portQuery(d.identity), portAnswerDatagram(d)},
        {"query for another device", serialSettingsQuery(other), std::nullopt},
        {"port query for another device", portQuery(other), std::nullopt},
        {"empty", Bytes(), std::nullopt},
        {"head only", Bytes("\x01\x00\x00", 3), std::nullopt},
        {"length byte disagrees", discoveryPacket() + "x", std::nullopt},
        {"query cut short", Bytes("\x31\x00\x00\x06\xA0\xA1", 6), std::nullopt},
        {"unknown type", Bytes("\x02\x00\x00\x04", 4), std::nullopt},
        {"an answer is no request", searchAnswerDatagram(d), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(answerDeviceRequest(c.request, d), c.answer) << c.name;

    DeviceDescription noPort = d;
    noPort.tcpPort = 0;
    EXPECT_FALSE(answerDeviceRequest(portQuery(d.identity), noPort));
}

TEST(DeviceAnswers, BrightReply)
{
    struct Case
    {
        char mode;
        std::uint8_t level;
        BrightReading reading;
    } cases[] = {
        {'1', 0, {BrightMode::Fixed, 255}},
        {'1', 200, {BrightMode::Fixed, 200}},
        {'2', 73, {BrightMode::Automatic, 200}},
        {'2', 154, {BrightMode::Automatic, 100}},
    };
    for (const auto& c : cases) {
        const Bytes reply = brightReply('1', c.mode, c.level);
        ASSERT_EQ(reply.size(), BrightReplySize);
        EXPECT_EQ(interpretBrightReply(reply), c.reading) << c.mode << int(c.level);

        const auto decoded = decodeTransmissions(reply);
        ASSERT_EQ(decoded.size(), 1u);
        EXPECT_TRUE(decoded[0].ok()) << formatListing(decoded);
        ASSERT_TRUE(decoded[0].frames.at(0).bright);
        EXPECT_EQ(decoded[0].frames[0].bright->kind, BrightFrame::Kind::Reply);
        EXPECT_EQ(decoded[0].frames[0].bright->value, c.level);
    }
    EXPECT_EQ(brightReply('1', '1', 0xC8), Bytes("\x02"
                                                 "BRIGHT1"
                                                 "1\xC8\xC8\x03",
                                                 12));
}

} // namespace
} // namespace led
