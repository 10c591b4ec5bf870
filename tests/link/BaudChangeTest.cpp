#include "link/BaudChange.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/Bright.h"
#include "link/SerialLink.h"
#include "link/Waiting.h"
#include "support/QtApp.h"

#include "PseudoTerminal.h"

#include <gtest/gtest.h>

#include <map>

namespace led {
namespace {

TSystemparameter colourSignUnits3And12(int port)
{
    TSystemparameter s;
    s.port = port;
    s.colorSet = 2;
    s.machine[3] = 1;
    s.machine[12] = 1;
    return s;
}

struct NetCase
{
    int tag;
    const char* status;
    int writes; // change frames and controller frames together
    std::optional<std::uint8_t> code;
};

TEST(BaudChange, OverTheNetworkSixChangesEachWithTheControllerFrame)
{
    test::ensureQtApp();
    const NetCase cases[] = {
        {10, "19200BPS", 12, 3}, {6, "2400BPS", 12, 1},   {7, "4800BPS", 12, 2},
        {4, "1200BPS", 6, 0},    {12, "57600BPS", 0, {}}, {1, "150BPS", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        SerialLink serial;
        BaudChange change(serial);
        std::vector<Bytes> sent;
        change.setNetworkSend([&](const Bytes& b) { sent.push_back(b); });
        change.setBrightUnitDigit('5');
        TSystemparameter s = colourSignUnits3And12(PortTcpIp);

        const BaudChangeRecord r = change.SendSpeed2400Click(c.tag, s);
        EXPECT_EQ(s.baudIndex, c.tag);
        EXPECT_EQ(r.statusText.toStdString(), c.status);
        EXPECT_EQ(r.codeSent, c.code);
        ASSERT_EQ(sent.size(), static_cast<std::size_t>(c.writes));
        EXPECT_EQ(r.writes.size(), sent.size());
        if (!c.code)
            continue;
        const Bytes changeFrame = "\xFF\x18\xE7" + Bytes("\x02\x03\x0C\x0D", 4) + "\xFF\x1B\xE4" +
                                  Bytes(1, static_cast<char>(*c.code)) + "\xFF\xF4\x0B";
        const Bytes bright = brightBaudFrame('5', *c.code);
        for (std::size_t i = 0; i < sent.size(); ++i) {
            const bool controllerFrame = *c.code != 0 && i % 2 == 1;
            EXPECT_EQ(sent[i], controllerFrame ? bright : changeFrame) << i;
        }
        EXPECT_FALSE(serial.isOpen());
    }
}

TEST(BaudChange, CodeLeftByASerialSweepDoesNotLeakIntoTheNetworkChange)
{
    test::ensureQtApp();
    SerialLink serial;
    serial.setPortName(QStringLiteral("/dev/ledcaption-no-such-tty"));
    BaudChange change(serial);
    change.setTimeScale(0.01);
    std::vector<Bytes> sent;
    change.setNetworkSend([&](const Bytes& b) { sent.push_back(b); });
    TSystemparameter s = colourSignUnits3And12(1);
    change.SendSpeed2400Click(9, s); // serial, code 3
    EXPECT_EQ(change.lastCodeSent(), 3);

    s.port = PortTcpIp;
    change.SendSpeed2400Click(4, s); // code 0: no controller frame at all
    EXPECT_EQ(sent.size(), 6u);
    sent.clear();
    change.SendSpeed2400Click(6, s); // code 1: the controller hears 0
    ASSERT_EQ(sent.size(), 12u);
    EXPECT_EQ(sent[1], brightBaudFrame('1', 1));
}

TEST(BaudChange, SerialSweepSendsTheChangeAtEveryRate)
{
    test::PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    SerialLink serial;
    serial.setPortName(pty.slavePath());
    BaudChange change(serial);
    change.setTimeScale(0.05);
    TSystemparameter s = colourSignUnits3And12(1);

    const BaudChangeRecord r = change.SendSpeed2400Click(10, s); // 19200: code 3
    PauseMs(30);

    EXPECT_TRUE(r.errors.empty());
    const Bytes changeFrame = baudChangeTransmission(s, 3);
    const Bytes bright = brightBaudFrame('1', 3);
    std::map<int, QByteArray> byRate;
    for (const auto& chunk : pty.chunks())
        byRate[chunk.baud] += chunk.bytes;
    ASSERT_EQ(byRate.size(), BaudSweepRates.size());
    for (int rate : BaudSweepRates)
        EXPECT_EQ(byRate[rate].toStdString(), changeFrame + bright) << rate;

    ASSERT_EQ(r.writes.size(), 2 * BaudSweepRates.size());
    for (std::size_t i = 0; i < r.writes.size(); ++i)
        EXPECT_EQ(r.writes[i].baud, BaudSweepRates[i / 2]);
    EXPECT_FALSE(serial.isOpen()); // closed at the end of the sweep
    EXPECT_EQ(r.finalBaud, 19200);
    EXPECT_EQ(serial.baudRate(), 19200);
    EXPECT_EQ(change.lastCodeSent(), 3);
    EXPECT_EQ(s.baudIndex, 10);
}

TEST(BaudChange, SerialSweepAt1200SendsNoControllerFrame)
{
    test::PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    SerialLink serial;
    serial.setPortName(pty.slavePath());
    BaudChange change(serial);
    change.setTimeScale(0.05);
    TSystemparameter s = colourSignUnits3And12(1);

    const BaudChangeRecord r = change.SendSpeed2400Click(4, s);
    PauseMs(30);
    const Bytes changeFrame = baudChangeTransmission(s, 0);
    Bytes expected;
    for (std::size_t i = 0; i < BaudSweepRates.size(); ++i)
        expected += changeFrame;
    EXPECT_EQ(pty.received().toStdString(), expected);
    EXPECT_EQ(r.writes.size(), BaudSweepRates.size());
    EXPECT_EQ(serial.baudRate(), 1200);
}

TEST(BaudChange, MissingPortIsReportedAtEveryStepAndTheSweepGoesOn)
{
    test::ensureQtApp();
    SerialLink serial;
    serial.setPortName(QStringLiteral("/dev/ledcaption-no-such-tty"));
    BaudChange change(serial);
    change.setTimeScale(0.02);
    int reported = 0;
    change.setSerialErrorHandler([&](const SerialResult& e) {
        EXPECT_EQ(e.status, SerialStatus::PortMissing);
        ++reported;
    });
    TSystemparameter s = colourSignUnits3And12(1);
    const BaudChangeRecord r = change.SendSpeed2400Click(9, s);
    EXPECT_EQ(reported, 6);
    EXPECT_EQ(r.errors.size(), 6u);
    EXPECT_TRUE(r.writes.empty());
    EXPECT_EQ(serial.baudRate(), 9600);
}

} // namespace
} // namespace led
