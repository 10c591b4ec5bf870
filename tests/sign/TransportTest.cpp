#include "sign/ModemTransport.h"
#include "sign/PtyTransport.h"
#include "sign/Sign.h"
#include "sign/SignLine.h"
#include "sign/TcpTransport.h"
#include "sign/UdpTransport.h"

#include "core/document/FileIO.h"
#include "core/document/GlyphTable.h"
#include "core/protocol/Bright.h"
#include "core/protocol/ControlCommands.h"
#include "core/protocol/DeviceAnswers.h"
#include "core/protocol/UploadEncoder.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "support/Waits.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QSerialPort>
#include <QTcpSocket>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace led {
namespace {

using test::runFor;
using test::waitUntil;

std::string_view view(const QByteArray& b)
{
    return {b.constData(), static_cast<std::size_t>(b.size())};
}

QByteArray qbytes(std::string_view b)
{
    return QByteArray(b.data(), static_cast<qsizetype>(b.size()));
}

struct Transports : ::testing::Test
{
    Transports()
    {
        test::ensureQtApp();
        s.colorSet = 2;
    }

    static Sign::Options quiet()
    {
        Sign::Options o;
        o.clock = [] { return LocalSeconds{}; };
        return o;
    }

    const SignState& state() const { return sign.model().state(); }

    TSystemparameter s;
    Sign sign{SignModel{}, quiet()};
};

// Opens a pseudo-terminal's slave side as the program does, with the real serial port.
std::unique_ptr<QSerialPort> openSerial(const QString& name)
{
    auto port = std::make_unique<QSerialPort>(name);
    port->setBaudRate(QSerialPort::Baud9600);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    return port;
}

// Reads from the port until the bytes read end with what is awaited.
bool readUntil(QSerialPort& port, QByteArray& got, const QByteArray& awaited, int ms = 2000)
{
    return waitUntil(
        [&] {
            got += port.readAll();
            return got.endsWith(awaited);
        },
        ms);
}

TEST_F(Transports, TcpTakesBytesInPieces)
{
    TcpTransport tcp(sign);
    QString error;
    ASSERT_TRUE(tcp.listen(QHostAddress::LocalHost, 0, &error)) << error.toStdString();

    Document doc;
    doc.content(4) = {"Hi", "\x41\x41"};
    UploadOptions o;
    o.glyphs = true;
    const Bytes upload = encodeScreens(doc, s, GlyphTable{}, 3, 3, o).bytes;

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, tcp.port());
    ASSERT_TRUE(waitUntil([&] { return client.state() == QAbstractSocket::ConnectedState; }));
    for (std::size_t at = 0; at < upload.size(); at += 7) {
        client.write(qbytes(std::string_view(upload).substr(at, 7)));
        runFor(2);
    }
    ASSERT_TRUE(
        waitUntil([&] { return state().glyphs.size() == 3 && state().screens.size() == 1; }));
    EXPECT_EQ(state().screens.at(4).text, "Hi");
    EXPECT_EQ(state().counters.badChecks + state().counters.rejected, 0);

    // A transmission the connection's end cuts off from its end frame is still taken.
    const Bytes close = powerTransmission(s, false);
    client.write(qbytes(std::string_view(close).substr(0, close.size() - 3)));
    ASSERT_TRUE(waitUntil([&] { return client.bytesToWrite() == 0; }));
    client.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return !state().power; }));

    QString refused;
    TcpTransport wide(sign);
    EXPECT_FALSE(wide.listen(QHostAddress::AnyIPv4, 0, &refused));
}

TEST_F(Transports, IdleGapTakesWhatIsHeld)
{
    std::vector<Bytes> written;
    SignLine line(sign, [&](std::string_view b) { written.emplace_back(b); });
    const Bytes open = powerTransmission(s, false);
    line.receive(std::string_view(open).substr(0, open.size() - 3)); // no end frame
    runFor(SignLine::IdleMs / 3);
    EXPECT_TRUE(state().power);
    ASSERT_TRUE(waitUntil([&] { return !state().power; }, 1000));

    line.receive(brightQuery());
    ASSERT_EQ(written.size(), 1u); // answered at once, no idle gap needed
    EXPECT_EQ(written[0], brightReply('1', '1', 255));
}

TEST_F(Transports, SerialLineAnswersBrightQuery)
{
    PtyTransport pty(sign);
    QString error;
    ASSERT_TRUE(pty.open(&error)) << error.toStdString();
    ASSERT_TRUE(pty.slaveName().startsWith(QStringLiteral("/dev/")));
    auto port = openSerial(pty.slaveName());
    ASSERT_TRUE(port);

    port->write(qbytes(brightSetFrame('1', BrightMode::Fixed, 200)));
    const Bytes query = brightQuery();
    port->write(qbytes(std::string_view(query).substr(0, 5)));
    runFor(20);
    port->write(qbytes(std::string_view(query).substr(5)));
    QByteArray got;
    ASSERT_TRUE(readUntil(*port, got, QByteArray(1, '\x03')));
    ASSERT_EQ(got.size(), static_cast<qsizetype>(BrightReplySize));
    EXPECT_EQ(interpretBrightReply(view(got)), (BrightReading{BrightMode::Fixed, 200}));

    port->write(qbytes(selfTestTransmission(s)));
    EXPECT_TRUE(waitUntil([&] { return state().counters.selfTests == 1; }));
}

TEST_F(Transports, ModemDialogue)
{
    constexpr int Guard = 100;
    ModemTransport modem(sign, Guard);
    QString error;
    ASSERT_TRUE(modem.open(&error)) << error.toStdString();
    auto port = openSerial(modem.slaveName());
    ASSERT_TRUE(port);
    QByteArray got;

    port->write("ATZ\r");
    ASSERT_TRUE(readUntil(*port, got, "OK\r\n"));
    port->write("ATDT 0212345678     \r");
    ASSERT_TRUE(readUntil(*port, got, "CONNECT 2400\r\n"));

    port->write(qbytes(selfTestTransmission(s)));
    ASSERT_TRUE(waitUntil([&] { return state().counters.selfTests == 1; }));

    runFor(2 * Guard);
    for (int i = 0; i < 3; ++i) {
        port->write("+");
        runFor(Guard / 5);
    }
    ASSERT_TRUE(readUntil(*port, got, "CONNECT 2400\r\nOK\r\n"));
    EXPECT_FALSE(modem.modem().online());

    // In command mode the same bytes reach no sign.
    port->write(qbytes(selfTestTransmission(s)));
    port->write("ATH0\r");
    ASSERT_TRUE(readUntil(*port, got, "CONNECT 2400\r\nOK\r\nOK\r\n"));
    EXPECT_FALSE(modem.modem().connected());
    EXPECT_EQ(state().counters.selfTests, 1);
}

TEST_F(Transports, UdpAnswersTheSearch)
{
    DeviceDescription device;
    device.identity.fill(0x42);
    device.tcpPort = 4321;
    UdpTransport udp(device);
    QString error;
    ASSERT_TRUE(udp.bind(QHostAddress::LocalHost, 0, &error)) << error.toStdString();

    QUdpSocket client;
    ASSERT_TRUE(client.bind(QHostAddress::LocalHost, 0));
    auto ask = [&](const Bytes& packet, int ms = 1000) -> std::optional<Bytes> {
        client.writeDatagram(qbytes(packet), QHostAddress::LocalHost, udp.port());
        if (!waitUntil([&] { return client.hasPendingDatagrams(); }, ms))
            return std::nullopt;
        const QByteArray data = client.receiveDatagram().data();
        return Bytes(view(data));
    };

    const auto search = ask(discoveryPacket());
    ASSERT_TRUE(search);
    const auto found = parseSearchAnswer(*search);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->identity, device.identity);
    EXPECT_EQ(dottedAddress(found->address), "127.0.0.1");
    ASSERT_TRUE(ask(pollPacket()));

    const auto settings = ask(serialSettingsQuery(found->identity));
    ASSERT_TRUE(settings);
    const auto parsed = parseSerialSettingsAnswer(*settings);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(serialSettingsText(*parsed), "9600,None,8,1");

    const auto port = ask(portQuery(found->identity));
    ASSERT_TRUE(port);
    EXPECT_EQ(parsePortAnswer(*port), 4321);

    EXPECT_FALSE(ask(portQuery(DeviceIdentity{}), 200)); // row 1 of an empty search

    UdpTransport wide(device);
    EXPECT_FALSE(wide.bind(QHostAddress::AnyIPv4, 0, &error));
}

TEST_F(Transports, StateFileFollowsEveryTransmission)
{
    test::TempDir dir;
    const QString path = QString::fromStdString((dir / "sign.json").string());
    Sign::Options o = quiet();
    o.statePath = path;
    Sign withFile{SignModel{}, o};
    SignLine line(withFile, {});

    auto read = [&] {
        const auto bytes = readFileBytes(path.toStdString());
        return bytes ? QJsonDocument::fromJson(qbytes(*bytes)).object() : QJsonObject{};
    };
    line.receive(selfTestTransmission(s));
    EXPECT_EQ(read()[QStringLiteral("counters")][QStringLiteral("selfTests")].toInt(), 1);
    line.receive(powerTransmission(s, false));
    EXPECT_FALSE(read()[QStringLiteral("power")].toBool(true));

    std::vector<std::string> warnings;
    Sign::Options broken = quiet();
    broken.statePath = QString::fromStdString((dir / "missing" / "sign.json").string());
    broken.warn = [&](const std::string& w) { warnings.push_back(w); };
    Sign unwritable{SignModel{}, broken};
    EXPECT_FALSE(unwritable.writeState());
    EXPECT_EQ(warnings.size(), 1u);
}

} // namespace
} // namespace led
