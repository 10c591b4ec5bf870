#include "core/document/FileIO.h"
#include "core/protocol/ControlCommands.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "support/Waits.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace led {
namespace {

using test::waitUntil;

QJsonObject readState(const std::filesystem::path& path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return {};
    return QJsonDocument::fromJson(QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())))
        .object();
}

int counter(const QJsonObject& state, const char* name)
{
    return state[QStringLiteral("counters")][QString::fromUtf8(name)].toInt(-1);
}

// The program as the end-to-end tests run it: addresses read from its output, stopped
// with SIGTERM, its last state in the file.
TEST(Program, RunsAndStopsOnSigterm)
{
    test::ensureQtApp();
    test::TempDir dir;
    const auto statePath = dir / "sign.json";
    QProcess sign;
    sign.start(QStringLiteral(LEDCAPTION_SIGN_PROGRAM),
               {QStringLiteral("--pty"), QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--unit"),
                QStringLiteral("3"), QStringLiteral("--state"),
                QString::fromStdString(statePath.string())});
    QByteArray out;
    ASSERT_TRUE(waitUntil([&] {
        out += sign.readAllStandardOutput();
        return out.endsWith("ready\n") || sign.state() == QProcess::NotRunning;
    })) << out.toStdString();
    const QList<QByteArray> lines = out.split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("pty: /dev/")) << out.toStdString();
    EXPECT_TRUE(lines[1].startsWith("tcp: 127.0.0.1:")) << out.toStdString();
    EXPECT_TRUE(lines[2].startsWith("udp: 127.0.0.1:")) << out.toStdString();
    const quint16 port = lines[1].mid(lines[1].lastIndexOf(':') + 1).toUShort();
    EXPECT_EQ(readState(statePath)[QStringLiteral("unit")].toInt(), 3);

    TSystemparameter other;
    other.colorSet = 2;
    TSystemparameter mine = other;
    mine.machine[3] = 1;
    const Bytes bytes = selfTestTransmission(other) + selfTestTransmission(mine);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] { return client.state() == QAbstractSocket::ConnectedState; }));
    client.write(bytes.data(), static_cast<qint64>(bytes.size()));
    ASSERT_TRUE(waitUntil([&] { return counter(readState(statePath), "selfTests") == 1; }));
    EXPECT_EQ(counter(readState(statePath), "ignored"), 1);

    // Held bytes are taken at the stop at the latest.
    const Bytes close = powerTransmission(mine, false);
    client.write(close.data(), static_cast<qint64>(close.size() - 3));
    ASSERT_TRUE(waitUntil([&] { return client.bytesToWrite() == 0; }));
    sign.terminate();
    ASSERT_TRUE(waitUntil([&] { return sign.state() == QProcess::NotRunning; }));
    EXPECT_EQ(sign.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sign.exitCode(), 0);
    EXPECT_FALSE(readState(statePath)[QStringLiteral("power")].toBool(true));
}

TEST(Program, RefusesBadOptions)
{
    test::ensureQtApp();
    const QStringList cases[] = {
        {},
        {QStringLiteral("--tcp"), QStringLiteral("192.0.2.1:5000")},
        {QStringLiteral("--pty"), QStringLiteral("--unit"), QStringLiteral("256")},
        {QStringLiteral("--pty"), QStringLiteral("--colour"), QStringLiteral("blue")},
        {QStringLiteral("--pty"), QStringLiteral("--bogus")},
    };
    for (const QStringList& args : cases) {
        QProcess sign;
        sign.start(QStringLiteral(LEDCAPTION_SIGN_PROGRAM), args);
        ASSERT_TRUE(waitUntil([&] { return sign.state() == QProcess::NotRunning; }))
            << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(sign.exitCode(), 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(sign.readAllStandardError().isEmpty());
    }
}

} // namespace
} // namespace led
