// Measures the upload of 254 screens at sign width 40 through the serial writer over a
// pseudo-terminal, against the protocol's transmit time, and the network upload to 20
// loopback device servers of which 5 refuse. Prints one line per figure.
//   ledcaption-linkbench [--baud-index N ...]   (default: 6 and 13)

#include "core/document/DeviceTable.h"
#include "core/protocol/UploadEncoder.h"
#include "link/NetLink.h"
#include "link/SerialLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace led;

namespace {

Bytes fullUpload()
{
    TSystemparameter s;
    s.colorSet = 2;
    s.signWidth = 40;
    Document doc;
    const Bytes chars = "\xA4\xA4\xA4\xE5\xA6\x72\xB9\xF5";
    for (int n = 1; n <= ScreenCount; ++n) {
        TContect c;
        while (c.text.size() + 2 <= 80) {
            if (c.text.size() % 20 == 0) {
                c.text += glyphReference(n % GlyphCount);
            } else {
                c.text += chars.substr(c.text.size() % 8, 2);
            }
            c.attr += "\x01\x01";
        }
        doc.content(n) = c;
    }
    GlyphTable glyphs;
    glyphs.makeAllCodes(true);
    UploadOptions options;
    options.glyphs = true;
    return encodeScreens(doc, s, glyphs, 0, 253, options).bytes;
}

void serialFigure(const Bytes& stream, int baudIndex)
{
    int master = -1, slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return;
    }
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    // Drain the far end so the line never backs up.
    qint64 received = 0;
    QSocketNotifier reader(master, QSocketNotifier::Read);
    QObject::connect(&reader, &QSocketNotifier::activated, [&] {
        char buf[65536];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n > 0)
            received += n;
    });
    // A window's timer keeps ticking while the writer waits: the longest gap is the stall.
    QElapsedTimer tick;
    qint64 longestGap = 0;
    QTimer heartbeat;
    heartbeat.setInterval(10);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, tick.restart()); });
    SerialLink link;
    link.setPortName(QString::fromUtf8(name));
    QElapsedTimer clock;
    clock.start();
    tick.start();
    heartbeat.start();
    const SerialResult r = link.sendCom(stream, baudIndex, false);
    const qint64 elapsed = clock.elapsed();
    heartbeat.stop();
    std::printf("serial baud index %d: %zu bytes, transmit time %lld ms, elapsed %lld ms, "
                "over by %lld ms (bar 100 ms), longest event-loop gap %lld ms (bar 50 ms), %s\n",
                baudIndex, stream.size(), static_cast<long long>(r.transmitMs),
                static_cast<long long>(elapsed), static_cast<long long>(elapsed - r.transmitMs),
                static_cast<long long>(longestGap), r.ok() ? "ok" : r.reason.toUtf8().constData());
    link.close();
    ::close(slave);
    ::close(master);
}

void networkFigure(const Bytes& stream)
{
    std::vector<std::unique_ptr<QTcpServer>> servers;
    std::vector<DeviceServerEntry> rows;
    for (int i = 0; i < 20; ++i) {
        auto server = std::make_unique<QTcpServer>();
        server->listen(QHostAddress::LocalHost, 0);
        const quint16 port = server->serverPort();
        QTcpServer* raw = server.get();
        QObject::connect(raw, &QTcpServer::newConnection, [raw] {
            while (QTcpSocket* s = raw->nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, [s] { s->readAll(); });
        });
        if (i % 4 == 3)
            server->close(); // refuses from now on
        DeviceServerEntry e;
        e.address = "127.0.0.1";
        e.port = std::to_string(port);
        e.send = true;
        rows.push_back(e);
        servers.push_back(std::move(server));
    }
    NetLink net;
    QElapsedTimer clock;
    clock.start();
    const auto results = net.uploadNet(stream, rows, 1000, false);
    int written = 0;
    for (const auto& r : results)
        written += r.outcome == NetOutcome::Written;
    std::printf("network: %zu bytes to 20 device servers (5 refusing): %d written, %lld ms\n",
                stream.size(), written, static_cast<long long>(clock.elapsed()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> indexes;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--baud-index")
            indexes.push_back(std::atoi(argv[++i]));
    if (indexes.empty())
        indexes = {6, 13};
    const Bytes stream = fullUpload();
    for (int index : indexes)
        serialFigure(stream, index);
    networkFigure(stream);
    return 0;
}
