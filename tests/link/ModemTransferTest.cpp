#include "link/ModemTransfer.h"
#include "link/SerialLink.h"
#include "link/Waiting.h"
#include "support/QtApp.h"

#include "PseudoTerminal.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace led {
namespace {

const QString Connecting = QString::fromUtf8(texts::ModemConnecting);
const QString Sending = QString::fromUtf8(texts::ModemSending);
const QString Done = QString::fromUtf8(texts::ModemDone);
const QString Failed = QString::fromUtf8(texts::ModemFailed);

// The far end of the line: a Hayes modem that answers each command line it reads, or
// stays silent when it has no script.
class FakeModem
{
public:
    explicit FakeModem(test::PseudoTerminal& pty, bool answers) : m_pty(pty)
    {
        pty.onRead([this, answers](const QByteArray& bytes) {
            m_line += bytes;
            qsizetype cr;
            while (answers && (cr = m_line.indexOf('\r')) >= 0) {
                const QByteArray command = m_line.left(cr).toUpper();
                m_line.remove(0, cr + 1);
                if (command.startsWith("ATDT"))
                    m_pty.send("\r\nconnect 9600\r\n");
                else if (command.startsWith("AT"))
                    m_pty.send("\r\nOK\r\n");
            }
        });
    }

private:
    test::PseudoTerminal& m_pty;
    QByteArray m_line;
};

class ModemTransferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        serial.setPortName(pty.slavePath());
        modem.setTimeScale(0.05);
        modem.setMessageHandler([this](const QString& m) { shown << m; });
    }

    test::PseudoTerminal pty;
    SerialLink serial;
    ModemTransfer modem{serial};
    QStringList shown;
};

TEST(ModemDial, FifteenPhoneCharactersOnly)
{
    EXPECT_EQ(modemDialCommand("0212345678     "), "ATDT 0212345678     \r");
    EXPECT_EQ(modemDialCommand("123"), "ATDT 123            \r");
    EXPECT_EQ(modemDialCommand("1234567890123456789"), "ATDT 123456789012345\r");
    EXPECT_EQ(modemDialCommand("12\rATH0;+"), "ATDT 12    0        \r");
}

TEST_F(ModemTransferTest, ConnectedModemCarriesTheUploadAndHangsUp)
{
    FakeModem fake(pty, true);
    int built = 0;
    const ModemOutcome r = modem.run("0212345678     ", 9, true, [&] {
        ++built;
        return Bytes("\xFF\x01\xFE upload", 9);
    });
    PauseMs(30);

    EXPECT_TRUE(r.port.ok());
    EXPECT_TRUE(r.resetAnswered);
    EXPECT_TRUE(r.dialectAnswered);
    EXPECT_TRUE(r.connected);
    EXPECT_EQ(built, 1);
    ASSERT_TRUE(r.upload.has_value());
    EXPECT_TRUE(r.upload->ok());
    EXPECT_TRUE(r.errors.empty());
    const QStringList expected{Connecting, Sending, Done};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(r.messages, expected);
    EXPECT_EQ(pty.received(), QByteArray("ATZ\rATX1\rATDT 0212345678     \r") +
                                  QByteArray(30, '0') + QByteArray("\xFF\x01\xFE upload", 9) +
                                  "+++ATH0\r");
}

TEST_F(ModemTransferTest, SilentModemIsStillDialledAndHungUp)
{
    FakeModem fake(pty, false);
    bool built = false;
    QElapsedTimer clock;
    clock.start();
    const ModemOutcome r = modem.run("5551234", 6, false, [&] {
        built = true;
        return Bytes("x");
    });
    PauseMs(30);

    // 36 + 545 ticks and about 5.7 s of pauses, all at a twentieth.
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(r.resetAnswered);
    EXPECT_FALSE(r.connected);
    EXPECT_FALSE(built);
    EXPECT_FALSE(r.upload.has_value());
    EXPECT_EQ(shown, (QStringList{Connecting, Failed}));
    EXPECT_EQ(pty.received(), QByteArray("ATZ\rATDT 5551234        \r+++ATH0\r"));
}

TEST_F(ModemTransferTest, MissingPortEndsWithTheFailureText)
{
    serial.setPortName(QStringLiteral("/dev/ledcaption-no-such-tty"));
    const ModemOutcome r = modem.run("5551234", 6, false, [] { return Bytes("x"); });
    EXPECT_EQ(r.port.status, SerialStatus::PortMissing);
    EXPECT_FALSE(r.connected);
    EXPECT_EQ(shown, (QStringList{Connecting, Failed}));
}

TEST_F(ModemTransferTest, LineLostAfterConnectIsNoSuccess)
{
    FakeModem fake(pty, true);
    std::vector<SerialResult> reported;
    modem.setUploadErrorHandler([&](const SerialResult& e) { reported.push_back(e); });
    const ModemOutcome r = modem.run("5551234", 9, false, [&] {
        pty.closeMaster();
        PauseMs(20);
        return Bytes(100, 'A');
    });
    EXPECT_TRUE(r.connected);
    ASSERT_TRUE(r.upload.has_value());
    EXPECT_FALSE(r.upload->ok());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(shown, (QStringList{Connecting, Sending}));
    EXPECT_FALSE(r.errors.empty()); // the hang-up could not be written either
}

} // namespace
} // namespace led
