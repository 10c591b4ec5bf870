#include "link/DeviceSearch.h"

#include "NetTestSupport.h"
#include "core/document/DeviceTable.h"
#include "core/text/Cp950.h"
#include "link/NetLink.h"
#include "support/QtApp.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <map>

namespace led {
namespace {

using test::waitUntil;

// Device servers behind one UDP port on 127.0.0.1. Every one answers the discovery and
// every poll, and the two queries that name it, with datagrams laid out byte by byte.
class FakeDevices
{
public:
    struct Device
    {
        QByteArray identity; // 16 bytes
        quint16 tcpPort = 0;
        quint16 baud = 9600;
        quint8 line = 0x03;
    };

    explicit FakeDevices(std::vector<Device> devices) : m_devices(std::move(devices))
    {
        m_socket.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_socket, &QUdpSocket::readyRead, [this] { answer(); });
    }

    quint16 port() const { return m_socket.localPort(); }
    int received(quint8 type) const { return m_received.count(type) ? m_received.at(type) : 0; }
    const std::vector<QByteArray>& queryIdentities() const { return m_queryIdentities; }

private:
    void answer()
    {
        while (m_socket.hasPendingDatagrams()) {
            const QNetworkDatagram in = m_socket.receiveDatagram();
            const QByteArray d = in.data();
            if (d.isEmpty())
                continue;
            const auto type = static_cast<quint8>(d[0]);
            ++m_received[type];
            for (const Device& device : m_devices) {
                const QByteArray out = answerOf(type, d, device);
                if (!out.isEmpty())
                    m_socket.writeDatagram(out, in.senderAddress(),
                                           static_cast<quint16>(in.senderPort()));
            }
            if (type == 0x31 || type == 0x47)
                m_queryIdentities.push_back(d.mid(4, 16));
        }
    }

    static QByteArray answerOf(quint8 type, const QByteArray& query, const Device& device)
    {
        if (type == 0x01 || type == 0x16) {
            // Head, identity in bytes 5-20, the address 127.0.0.1 in the last four; long
            // enough to be misread as a query answer when taken at the wrong time.
            QByteArray a("\x81\x00\x00\x28", 4);
            a += device.identity;
            a += QByteArray(16, '\x5A');
            a += QByteArray("\x7F\x00\x00\x01", 4);
            return a;
        }
        if (query.mid(4, 16) != device.identity)
            return {};
        QByteArray a(32, '\x00');
        a[0] = static_cast<char>(type + 0x80);
        a[3] = static_cast<char>(a.size());
        a.replace(4, 16, device.identity);
        if (type == 0x31) {
            a[24] = static_cast<char>(device.baud & 0xFF); // bytes 25-26
            a[25] = static_cast<char>(device.baud >> 8);
            a[28] = static_cast<char>(device.line); // byte 29
            return a;
        }
        if (type == 0x47) {
            a[26] = static_cast<char>(device.tcpPort & 0xFF); // bytes 27-28
            a[27] = static_cast<char>(device.tcpPort >> 8);
            return a;
        }
        return {};
    }

    QUdpSocket m_socket;
    std::vector<Device> m_devices;
    std::map<quint8, int> m_received;
    std::vector<QByteArray> m_queryIdentities;
};

QByteArray identity(char first)
{
    QByteArray id(16, '\0');
    for (int i = 0; i < id.size(); ++i)
        id[i] = static_cast<char>(first + i);
    return id;
}

struct SearchRun
{
    std::vector<int> progress;
    int finished = 0;
    qint64 elapsedMs = 0;
};

SearchRun search(DeviceSearch& s, DeviceTable& table, int connectTimeoutMs)
{
    SearchRun run;
    QObject::connect(&s, &DeviceSearch::progress, [&](int tick, int ticks) {
        EXPECT_EQ(ticks, SearchPollTicks);
        run.progress.push_back(tick);
    });
    QObject::connect(&s, &DeviceSearch::finished, [&] { ++run.finished; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(s.start(&table, connectTimeoutMs));
    EXPECT_FALSE(s.start(&table, connectTimeoutMs)); // one search at a time
    EXPECT_TRUE(waitUntil([&] { return run.finished > 0; }, 8000));
    run.elapsedMs = clock.elapsed();
    QObject::disconnect(&s, nullptr, nullptr, nullptr);
    return run;
}

TEST(DeviceSearch, FindsDevicesAndFillsAddressSettingsPortAndStatus)
{
    test::ensureQtApp();
    test::Listener reachable;
    const quint16 refused = test::refusedPort();
    // The second device answers each poll too, so answers pile up beyond one per tick.
    FakeDevices fake(
        {{identity(0x10), reachable.port(), 9600, 0x03}, {identity(0x40), refused, 9600, 0x1B}});
    DeviceTable table;
    table.row(7) = {"127.0.0.1", "1", "stale", big5("門口"), true, 1};

    NetLink link;
    DeviceSearch s(link);
    s.setTarget(QHostAddress::LocalHost, fake.port());
    const SearchRun run = search(s, table, 300);

    EXPECT_EQ(run.finished, 1);
    EXPECT_FALSE(s.isRunning());
    EXPECT_TRUE(s.errorString().isEmpty()) << s.errorString().toStdString();
    EXPECT_EQ(run.progress.size(), static_cast<std::size_t>(SearchPollTicks));
    EXPECT_EQ(run.progress.back(), SearchPollTicks);
    // 51 ticks of 20 ms, the queries answered at once, two short connection attempts.
    EXPECT_GE(run.elapsedMs, SearchPollTicks * SearchTickMs - 20);
    EXPECT_LT(run.elapsedMs, 4000);

    EXPECT_EQ(fake.received(0x01), 1);
    EXPECT_EQ(fake.received(0x16), SearchPollTicks + 1);
    EXPECT_EQ(fake.received(0x31), 2);
    EXPECT_EQ(fake.received(0x47), 2);

    const DeviceRow& first = table.row(1);
    EXPECT_EQ(first.ip, "127.0.0.1");
    EXPECT_EQ(first.port, std::to_string(reachable.port()));
    EXPECT_EQ(first.serialSettings, "9600,None,8,1");
    EXPECT_EQ(first.status, 1);
    const DeviceRow& second = table.row(2);
    EXPECT_EQ(second.ip, "127.0.0.1");
    EXPECT_EQ(second.port, std::to_string(refused));
    EXPECT_EQ(second.serialSettings, "9600,Even,8,1");
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(table.row(3), DeviceRow{});
    // The search clears its own cells of every row; send box and place stay.
    EXPECT_EQ(table.row(7), (DeviceRow{"", "", "", big5("門口"), true, 0}));
    EXPECT_EQ(reachable.connections().size(), 1u);
}

TEST(DeviceSearch, NothingAnsweringQueriesRowOneOnceAndMarksEveryRowZero)
{
    test::ensureQtApp();
    FakeDevices silent({}); // takes the packets, answers nothing
    DeviceTable table;
    table.row(1).status = 1;
    NetLink link;
    DeviceSearch s(link);
    s.setTarget(QHostAddress::LocalHost, silent.port());
    s.setQueryWaitMs(50);

    const SearchRun run = search(s, table, 300);

    EXPECT_EQ(run.finished, 1);
    EXPECT_LT(run.elapsedMs, 2000);
    EXPECT_TRUE(s.state().rows.empty());
    EXPECT_EQ(silent.received(0x31), 1);
    EXPECT_EQ(silent.received(0x47), 1);
    EXPECT_EQ(silent.queryIdentities(), (std::vector<QByteArray>(2, QByteArray(16, '\0'))));
    EXPECT_EQ(table, DeviceTable{});
}

TEST(DeviceSearch, CancelStopsWithoutFinishing)
{
    test::ensureQtApp();
    FakeDevices fake({{identity(0x10), 1, 9600, 0x03}});
    DeviceTable table;
    NetLink link;
    DeviceSearch s(link);
    s.setTarget(QHostAddress::LocalHost, fake.port());
    int finished = 0;
    QObject::connect(&s, &DeviceSearch::finished, [&] { ++finished; });
    ASSERT_TRUE(s.start(&table, 300));
    PauseMs(100);
    s.cancel();
    PauseMs(30); // the last poll sent still reaches the devices
    const int polls = fake.received(0x16);
    PauseMs(200);
    EXPECT_FALSE(s.isRunning());
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(fake.received(0x16), polls);
    EXPECT_EQ(table.row(1).ip, "127.0.0.1"); // what was found so far stays
}

} // namespace
} // namespace led
