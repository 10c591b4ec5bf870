// The command-line program against the virtual sign: what the sign stored must be what
// the project holds.

#include "core/document/DeviceTable.h"
#include "core/document/Project.h"
#include "core/protocol/Frames.h"
#include "link/DeviceSearch.h"
#include "link/NetLink.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "support/Waits.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <csignal>

namespace led {
namespace {

using test::waitUntil;

struct CliRun
{
    int exitCode = -1;
    std::string out, err;
};

CliRun runCli(const QStringList& args, int timeoutMs = 20000)
{
    QProcess cli;
    cli.start(QStringLiteral(LEDCAPTION_CLI_PROGRAM), args);
    CliRun run;
    if (!waitUntil([&] { return cli.state() == QProcess::NotRunning; }, timeoutMs)) {
        cli.kill();
        cli.waitForFinished(2000);
        run.err = "timed out";
        return run;
    }
    run.exitCode = cli.exitCode();
    run.out = cli.readAllStandardOutput().toStdString();
    run.err = cli.readAllStandardError().toStdString();
    return run;
}

// One virtual sign process; its addresses are read from its first lines of output.
class SignProcess
{
public:
    SignProcess(const QStringList& args, const std::filesystem::path& state) : m_state(state)
    {
        m_process.start(
            QStringLiteral(LEDCAPTION_SIGN_PROGRAM),
            args + QStringList{QStringLiteral("--state"), QString::fromStdString(state.string())});
        waitUntil(
            [&] {
                m_out += m_process.readAllStandardOutput();
                return m_out.contains("ready\n") || m_process.state() == QProcess::NotRunning;
            },
            5000);
    }
    ~SignProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(3000))
                m_process.kill();
        }
    }
    bool ready() const { return m_out.contains("ready\n"); }
    QString line(const char* prefix) const
    {
        for (const QByteArray& l : m_out.split('\n'))
            if (l.startsWith(prefix))
                return QString::fromUtf8(l.mid(static_cast<qsizetype>(std::strlen(prefix))))
                    .trimmed();
        return {};
    }
    QString tcp() const { return line("tcp:"); }
    quint16 udpPort() const { return line("udp:").section(QLatin1Char(':'), -1).toUShort(); }
    QString pty() const { return line("pty:"); }
    QString modem() const { return line("modem:"); }

    QJsonObject state() const
    {
        QFile f(QString::fromStdString(m_state.string()));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    int transmissions() const
    {
        return state()[QStringLiteral("counters")]
            .toObject()[QStringLiteral("transmissions")]
            .toInt();
    }
    // Until the sign has taken at least n transmissions.
    bool waitForTransmissions(int n, int timeoutMs = 10000) const
    {
        return waitUntil([&] { return transmissions() >= n; }, timeoutMs);
    }

private:
    QProcess m_process;
    QByteArray m_out;
    std::filesystem::path m_state;
};

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureQtApp();
        ASSERT_EQ(runCli({QStringLiteral("new"), path(dir.path())}).exitCode, 0);
    }
    static QString path(const std::filesystem::path& p)
    {
        return QString::fromStdString(p.string());
    }
    QString cfg() const { return path(dir.path() / "DATA" / "demo.CFG"); }
    std::filesystem::path statePath(const char* name) const { return dir.path() / name; }

    std::unique_ptr<Project> project() const
    {
        auto p = std::make_unique<Project>(dir.path());
        p->setfilename(dir.path() / "DATA" / "demo.CFG");
        p->readCFG();
        p->readMsg();
        p->readGra();
        return p;
    }

    // Every non-empty screen of the project is on the sign with the same fields.
    void expectSignHoldsProject(const QJsonObject& state, int from, int to) const
    {
        auto p = project();
        std::map<int, QJsonObject> stored;
        for (const auto v : state[QStringLiteral("screens")].toArray())
            stored[v.toObject()[QStringLiteral("number")].toInt()] = v.toObject();
        ASSERT_EQ(stored.size(), static_cast<std::size_t>(to - from + 1));
        for (int n = from; n <= to; ++n) {
            ASSERT_TRUE(stored.count(n)) << n;
            const auto& s = stored[n];
            const auto& r = p->document().screen(n);
            const auto& c = p->document().content(n);
            EXPECT_EQ(s[QStringLiteral("textHex")].toString().toStdString(), hexText(c.text)) << n;
            EXPECT_EQ(s[QStringLiteral("attributes")].toString().toStdString(), hexText(c.attr))
                << n;
            EXPECT_EQ(s[QStringLiteral("speed")].toInt(), r.speed) << n;
            EXPECT_EQ(s[QStringLiteral("stay")].toInt(), r.stay) << n;
            EXPECT_EQ(s[QStringLiteral("entry")].toInt(), r.front) << n;
            EXPECT_EQ(s[QStringLiteral("exit")].toInt(), r.rear) << n;
            EXPECT_EQ(s[QStringLiteral("width")].toInt(), p->settings().signWidth) << n;
        }
        const auto counters = state[QStringLiteral("counters")].toObject();
        EXPECT_EQ(counters[QStringLiteral("badChecks")].toInt(), 0);
        EXPECT_EQ(counters[QStringLiteral("rejected")].toInt(), 0);
    }

    test::TempDir dir;
};

TEST_F(EndToEnd, UploadOverTcpStoresTheProject)
{
    SignProcess sign({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}, statePath("s.json"));
    ASSERT_TRUE(sign.ready());
    const auto run = runCli({QStringLiteral("send"), cfg(), QStringLiteral("--tcp"), sign.tcp(),
                             QStringLiteral("--from"), QStringLiteral("1"), QStringLiteral("--to"),
                             QStringLiteral("4"), QStringLiteral("--glyphs")});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("已送出"), std::string::npos) << run.out;
    ASSERT_TRUE(sign.waitForTransmissions(2));
    const auto state = sign.state();
    expectSignHoldsProject(state, 1, 4);

    // The glyphs arrive as the project's code bytes.
    auto p = project();
    const auto glyphs = state[QStringLiteral("glyphs")].toArray();
    ASSERT_FALSE(glyphs.isEmpty());
    const auto g0 = glyphs[0].toObject();
    EXPECT_EQ(g0[QStringLiteral("code")].toString().toStdString(),
              hexText(std::string_view(
                  reinterpret_cast<const char*>(p->glyphs().record(0) + GlyphColourCode), 64)));
}

TEST_F(EndToEnd, UploadOverAPseudoTerminalStoresTheProject)
{
    SignProcess sign({QStringLiteral("--pty")}, statePath("s.json"));
    ASSERT_TRUE(sign.ready());
    const auto run =
        runCli({QStringLiteral("send"), cfg(), QStringLiteral("--serial"), sign.pty(),
                QStringLiteral("--baud-index"), QStringLiteral("13"), QStringLiteral("--from"),
                QStringLiteral("2"), QStringLiteral("--to"), QStringLiteral("3")});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    ASSERT_TRUE(sign.waitForTransmissions(1));
    expectSignHoldsProject(sign.state(), 2, 3);
}

TEST_F(EndToEnd, CommandsOverAPseudoTerminalChangeTheSign)
{
    SignProcess sign({QStringLiteral("--pty")}, statePath("s.json"));
    ASSERT_TRUE(sign.ready());
    auto send = [&](QStringList args) {
        args << cfg() << QStringLiteral("--serial") << sign.pty() << QStringLiteral("--baud-index")
             << QStringLiteral("13");
        return runCli(QStringList{QStringLiteral("send-command")} + args);
    };
    ASSERT_EQ(send({QStringLiteral("time"), QStringLiteral("--at"),
                    QStringLiteral("2024-03-07T14:05:39")})
                  .exitCode,
              0);
    ASSERT_EQ(send({QStringLiteral("close")}).exitCode, 0);
    ASSERT_TRUE(sign.waitForTransmissions(2));
    const auto state = sign.state();
    EXPECT_FALSE(state[QStringLiteral("power")].toBool(true));
    const auto clock = state[QStringLiteral("clock")].toObject();
    EXPECT_NE(QJsonDocument(clock).toJson().indexOf("2024"), -1)
        << QJsonDocument(clock).toJson().toStdString();

    // The brightness controller answers on the same line, through the receive path.
    const auto bright = send({QStringLiteral("bright-query")});
    EXPECT_EQ(bright.exitCode, 0) << bright.out << bright.err;
    EXPECT_NE(bright.out.find("亮度: 固定模式"), std::string::npos) << bright.out;
}

TEST_F(EndToEnd, EveryRowGetsOnePreambleWhenTheSensorIsOn)
{
    {
        auto p = project();
        p->settings().tempset = true;
        ASSERT_TRUE(p->saveCFG());
    }
    QTcpServer servers[2];
    QByteArray received[2];
    QStringList targets;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(servers[i].listen(QHostAddress::LocalHost, 0));
        QObject::connect(&servers[i], &QTcpServer::newConnection, [&, i] {
            QTcpSocket* s = servers[i].nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, [&, i, s] { received[i] += s->readAll(); });
        });
        targets << QStringLiteral("127.0.0.1:%1").arg(servers[i].serverPort());
    }
    QProcess cli;
    cli.start(QStringLiteral(LEDCAPTION_CLI_PROGRAM),
              {QStringLiteral("send-command"), QStringLiteral("selftest"), cfg(),
               QStringLiteral("--tcp"), targets.join(QLatin1Char(','))});
    ASSERT_TRUE(waitUntil([&] { return cli.state() == QProcess::NotRunning; }, 10000));
    ASSERT_TRUE(waitUntil([&] { return received[0].size() >= 42 && received[1].size() >= 42; }));
    for (const auto& r : received) {
        EXPECT_EQ(r, QByteArray(30, '0') +
                         QByteArray("\xFF\x18\xE7\x01\x00\x01\xFF\x09\xF6\xFF\xF4\x0B", 12));
    }
}

TEST_F(EndToEnd, UploadThroughTheModem)
{
    SignProcess sign({QStringLiteral("--modem-pty")}, statePath("s.json"));
    ASSERT_TRUE(sign.ready());
    const auto run =
        runCli({QStringLiteral("send"), cfg(), QStringLiteral("--modem"), sign.modem(),
                QStringLiteral("--phone"), QStringLiteral("0223456789"), QStringLiteral("--from"),
                QStringLiteral("1"), QStringLiteral("--to"), QStringLiteral("2")},
               40000);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    for (const char* text : {"連線中，請稍待....", "正在傳送資料", "傳送完成！"})
        EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    ASSERT_TRUE(sign.waitForTransmissions(1));
    expectSignHoldsProject(sign.state(), 1, 2);
}

TEST_F(EndToEnd, DeviceSearchFindsTheVirtualSign)
{
    SignProcess sign({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                      QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0")},
                     statePath("s.json"));
    ASSERT_TRUE(sign.ready());
    NetLink net;
    DeviceSearch search(net);
    search.setTarget(QHostAddress::LocalHost, sign.udpPort());
    DeviceTable table;
    bool finished = false;
    QObject::connect(&search, &DeviceSearch::finished, [&] { finished = true; });
    ASSERT_TRUE(search.start(&table, 500));
    ASSERT_TRUE(waitUntil([&] { return finished; }, 15000));
    EXPECT_EQ(table.cellText(1, DevColIp), "127.0.0.1");
    EXPECT_EQ(table.cellText(1, DevColPort),
              sign.tcp().section(QLatin1Char(':'), -1).toStdString());
    EXPECT_EQ(table.row(1).serialSettings, "9600,None,8,1");
    EXPECT_EQ(table.row(1).status, 1); // the connection test reached its TCP port
}

} // namespace
} // namespace led
