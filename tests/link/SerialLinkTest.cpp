#include "link/SerialLink.h"
#include "core/protocol/BaudRates.h"
#include "link/Waiting.h"
#include "support/QtApp.h"

#include "PseudoTerminal.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>

#include <gtest/gtest.h>

namespace led {
namespace {

class SerialLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureQtApp();
        ASSERT_TRUE(pty.ok());
        link.setPortName(pty.slavePath());
    }

    // Lets the far end read what is still in flight.
    void settle() { PauseMs(50); }

    test::PseudoTerminal pty;
    SerialLink link;
};

TEST(TransmitTime, TwelveBitTimesPerByte)
{
    EXPECT_EQ(transmitTimeMs(1000, 2400), 5000);
    EXPECT_EQ(transmitTimeMs(7, 9600), 8);
    EXPECT_EQ(transmitTimeMs(1000, 9600), 1250);
    EXPECT_EQ(transmitTimeMs(0, 9600), 0);
    EXPECT_EQ(transmitTimeMs(10, 0), 0);
}

struct SendCase
{
    const char* name;
    int size;
    bool tempset;
    int baudIndex;
    int lineBaud;
    qint64 transmitMs;
};

TEST_F(SerialLinkTest, SendComWritesExactlyTheBytesAndWaitsTheTransmitTime)
{
    const SendCase cases[] = {
        {"1000 bytes at 9600", 1000, false, 9, 9600, 1250},
        {"12 bytes with the preamble", 12, true, 9, 9600, 52},
        {"7 bytes at 9600", 7, false, 9, 9600, 8},
        {"index out of range is 2400", 100, false, 0, 2400, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes;
        for (int i = 0; i < c.size; ++i)
            bytes += static_cast<char>(i * 7);
        const auto before = pty.received().size();

        QElapsedTimer clock;
        clock.start();
        const SerialResult r = link.sendCom(bytes, c.baudIndex, c.tempset);
        const qint64 took = clock.elapsed();
        settle();

        ASSERT_TRUE(r.ok()) << r.reason.toStdString();
        const QByteArray expected =
            (c.tempset ? QByteArray(30, '0') : QByteArray()) + QByteArray::fromStdString(bytes);
        EXPECT_EQ(pty.received().mid(before), expected);
        EXPECT_EQ(r.bytesWritten, expected.size());
        EXPECT_EQ(r.transmitMs, c.transmitMs);
        EXPECT_GE(took, c.transmitMs);
        EXPECT_LT(took, c.transmitMs + 250);
        EXPECT_EQ(pty.baud(), c.lineBaud);
        EXPECT_TRUE(link.isOpen()); // the port stays open after a write
    }
}

TEST_F(SerialLinkTest, MissingDeviceIsReportedAtOnce)
{
    for (const QString& name : {QStringLiteral("/dev/ledcaption-no-such-tty"), QString()}) {
        link.setPortName(name);
        QElapsedTimer clock;
        clock.start();
        const SerialResult r = link.sendCom("\x01\x02", 9, false);
        EXPECT_EQ(r.status, SerialStatus::PortMissing) << name.toStdString();
        EXPECT_FALSE(r.reason.isEmpty());
        EXPECT_EQ(r.bytesWritten, 0);
        EXPECT_LT(clock.elapsed(), 200);
        EXPECT_EQ(link.writeDirect("x").status, SerialStatus::PortMissing);
    }
}

TEST_F(SerialLinkTest, PortHeldByAnotherOwnerIsBusy)
{
    QSerialPort other;
    other.setPortName(pty.slavePath());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    const SerialResult r = link.sendCom("\x01", 9, false);
    EXPECT_EQ(r.status, SerialStatus::PortBusy);
    EXPECT_FALSE(r.reason.isEmpty());
    other.close();
    EXPECT_TRUE(link.sendCom("\x01", 9, false).ok());
}

TEST_F(SerialLinkTest, DeviceVanishingDuringAWriteEndsItWithAnError)
{
    bool vanished = false;
    QObject::connect(&link, &SerialLink::deviceVanished, [&] { vanished = true; });
    pty.onRead([&](const QByteArray&) { pty.closeMaster(); });
    link.setDrainMarginMs(300);

    // 40 000 bytes at 230400 baud: about two seconds on the line.
    const Bytes bytes(40000, 'A');
    QElapsedTimer clock;
    clock.start();
    const SerialResult r = link.sendCom(bytes, 14, false);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.status == SerialStatus::DeviceVanished || r.status == SerialStatus::WriteFailed)
        << static_cast<int>(r.status) << " " << r.reason.toStdString();
    EXPECT_LT(r.bytesWritten, 40000);
    EXPECT_LT(clock.elapsed(), r.transmitMs + 300 + 200);
    settle();
    EXPECT_TRUE(vanished);
    EXPECT_FALSE(link.isOpen());
    // The next transmission finds no line behind the port instead of hanging.
    EXPECT_FALSE(link.sendCom("\x01", 9, false).ok());
}

TEST_F(SerialLinkTest, SecondTransmissionDuringTheWaitIsRefused)
{
    SerialResult inner;
    bool awaited = true;
    QTimer::singleShot(20, [&] {
        inner = link.sendCom("\x02", 9, false);
        awaited = link.waitForTextMs("OK", 10);
    });
    const SerialResult outer = link.sendCom(Bytes(100, 'B'), 9, false); // 125 ms
    settle();
    EXPECT_TRUE(outer.ok());
    EXPECT_EQ(inner.status, SerialStatus::Busy);
    EXPECT_FALSE(awaited);
    EXPECT_EQ(pty.received(), QByteArray(100, 'B'));
}

TEST_F(SerialLinkTest, BrightReplyArrivingInPiecesReachesTheHandler)
{
    std::vector<BrightReading> readings;
    link.setBrightHandler([&](const BrightReading& r) { readings.push_back(r); });
    int signalled = 0;
    QObject::connect(&link, &SerialLink::brightReplyReceived, [&] { ++signalled; });
    ASSERT_TRUE(link.open().ok());

    // Automatic mode, level 73: the slider goes to 200.
    const QByteArray reply("\x02"
                           "BRIGHT"
                           "12\x49\x4A\x03",
                           12);
    pty.send(reply.left(5));
    settle();
    pty.send(reply.mid(5, 6));
    settle();
    EXPECT_TRUE(readings.empty()); // eleven bytes wait for more
    EXPECT_EQ(link.receiveBuffer().size(), 11u);

    pty.send(reply.mid(11));
    settle();
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0], (BrightReading{BrightMode::Automatic, 200}));
    EXPECT_EQ(signalled, 1);
    EXPECT_TRUE(link.receiveBuffer().empty());

    // A reply for another mode is dropped, and the buffer starts again.
    QByteArray otherMode = reply;
    otherMode[8] = '3';
    pty.send(otherMode);
    settle();
    EXPECT_EQ(readings.size(), 1u);
    EXPECT_TRUE(link.receiveBuffer().empty());
}

TEST_F(SerialLinkTest, WaitForTextIgnoresCaseAndGivesUpInTime)
{
    ASSERT_TRUE(link.open().ok());
    pty.onRead([&](const QByteArray& b) {
        if (b.contains("AT"))
            pty.send("\r\nCon");
    });
    QTimer::singleShot(80, [&] { pty.send("nect 9600\r\n"); });
    ASSERT_TRUE(link.writeDirect("ATDT 1\r").ok());
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(link.waitForTextMs("CONNECT", 2000));
    EXPECT_LT(clock.elapsed(), 1000);
    // The answer is the wait's, not the brightness reply's.
    EXPECT_TRUE(link.receiveBuffer().empty());

    clock.restart();
    EXPECT_FALSE(link.waitForText("OK", 2)); // two ticks of 55 ms
    EXPECT_GE(clock.elapsed(), 105);
    EXPECT_LT(clock.elapsed(), 400);
}

} // namespace
} // namespace led
