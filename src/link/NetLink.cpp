#include "link/NetLink.h"

#include "core/protocol/Frames.h"

#include "core/protocol/DeviceServer.h"
#include "link/Waiting.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

#include <algorithm>

namespace led {

namespace {

// Runs a local event loop until done() holds or the time is up; false on time-out.
template <typename Connect> bool waitUntil(int ms, Connect&& connectQuit)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool timedOut = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    // The signals may already have fired while the caller set things up.
    if (!connectQuit(loop))
        return true;
    timer.start(std::max(ms, 1));
    loop.exec();
    return !timedOut;
}

// Only a literal address: a name would be looked up somewhere off this machine, and the
// cell holds dotted decimal. IPv4 must have all four numbers ("127.1" is a typing slip).
std::optional<QHostAddress> cellAddress(const Bytes& cell)
{
    const QString text = QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size()));
    QHostAddress address;
    if (!address.setAddress(text.trimmed()))
        return std::nullopt;
    if (address.protocol() == QAbstractSocket::IPv4Protocol && !addressGroup(cell))
        return std::nullopt;
    return address;
}

NetOutcome connectFailure(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return NetOutcome::Refused;
    case QAbstractSocket::SocketTimeoutError:
        return NetOutcome::TimedOut;
    default:
        return NetOutcome::ConnectFailed;
    }
}

} // namespace

std::optional<int> writeStatusPicture(const NetRowResult& r)
{
    switch (r.outcome) {
    case NetOutcome::Written:
        return 1;
    case NetOutcome::FailedAfterConnect:
        return 0;
    default:
        return std::nullopt;
    }
}

std::optional<int> connectionTestPicture(const NetRowResult& r)
{
    if (r.outcome == NetOutcome::Busy)
        return std::nullopt;
    return r.outcome == NetOutcome::Connected ? 1 : 0;
}

NetLink::NetLink(QObject* parent) : QObject(parent), m_socket(this)
{
    // Nothing is read back over this link; a talkative peer must not fill the memory.
    m_socket.setReadBufferSize(64 * 1024);
}

bool NetLink::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

std::vector<NetRowResult> NetLink::sendNet(std::string_view bytes,
                                           std::span<const DeviceServerEntry> rows, int timeoutMs,
                                           bool tempset)
{
    return write(bytes, rows, timeoutMs, tempset, Mode::Command);
}

std::vector<NetRowResult> NetLink::uploadNet(std::string_view bytes,
                                             std::span<const DeviceServerEntry> rows, int timeoutMs,
                                             bool tempset)
{
    return write(bytes, rows, timeoutMs, tempset, Mode::Upload);
}

std::vector<NetRowResult> NetLink::write(std::string_view bytes,
                                         std::span<const DeviceServerEntry> rows, int timeoutMs,
                                         bool tempset, Mode mode)
{
    // Every row gets the whole transmission with one preamble of its own.
    const Bytes line = withPreamble(bytes, tempset);
    QByteArray data(line.data(), static_cast<qsizetype>(line.size()));
    if (mode == Mode::Upload)
        data.append("\r\n", 2);

    std::vector<NetRowResult> results;
    const bool busy = m_busy;
    m_busy = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].send)
            continue;
        const int row = static_cast<int>(i) + 1;
        // A pause of a running transmission let this call in; it must not take the socket.
        if (busy)
            results.push_back({row, NetOutcome::Busy, 0, {}});
        else
            results.push_back(writeRow(row, rows[i], data, timeoutMs, mode));
    }
    m_busy = busy;
    return results;
}

NetRowResult NetLink::writeRow(int row, const DeviceServerEntry& entry, const QByteArray& data,
                               int timeoutMs, Mode mode)
{
    QElapsedTimer clock;
    clock.start();
    NetRowResult result{row, NetOutcome::Written, 0, {}};
    disconnectNow();
    const NetOutcome connected = connectTo(entry, timeoutMs, &result.reason);
    if (connected != NetOutcome::Connected) {
        result.outcome = connected;
    } else if (m_socket.write(data) != data.size() || !flush(&result.reason)) {
        result.outcome = NetOutcome::FailedAfterConnect;
        if (result.reason.isEmpty())
            result.reason = m_socket.errorString();
        m_socket.abort();
    } else if (mode == Mode::Command) {
        PauseMs(CommandPauseMs);
    } else {
        disconnectNow();
    }
    result.elapsedMs = clock.elapsed();
    return result;
}

std::vector<NetRowResult> NetLink::connectionTest(std::span<const DeviceServerEntry> rows,
                                                  int timeoutMs)
{
    std::vector<NetRowResult> results;
    const bool busy = m_busy;
    m_busy = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        if (busy) {
            results.push_back({row, NetOutcome::Busy, 0, {}});
            continue;
        }
        QElapsedTimer clock;
        clock.start();
        NetRowResult result{row, NetOutcome::Connected, 0, {}};
        disconnectNow();
        result.outcome = connectTo(rows[i], timeoutMs, &result.reason);
        result.elapsedMs = clock.elapsed();
        results.push_back(result);
    }
    m_busy = busy;
    return results;
}

NetOutcome NetLink::connectTo(const DeviceServerEntry& entry, int timeoutMs, QString* reason)
{
    if (std::all_of(entry.address.begin(), entry.address.end(), [](char c) { return c == ' '; }))
        return NetOutcome::NoAddress;
    const auto address = cellAddress(entry.address);
    if (!address)
        return NetOutcome::BadAddress;
    const auto port = entry.portNumber();
    if (!port)
        return NetOutcome::BadPort;

    bool failed = false;
    const bool inTime = waitUntil(timeoutMs, [&](QEventLoop& loop) {
        connect(&m_socket, &QAbstractSocket::connected, &loop, &QEventLoop::quit);
        connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, [&] {
            failed = true;
            loop.quit();
        });
        m_socket.connectToHost(*address, *port);
        return !failed && m_socket.state() != QAbstractSocket::ConnectedState;
    });
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        return NetOutcome::Connected;
    const NetOutcome outcome = inTime ? connectFailure(m_socket.error()) : NetOutcome::TimedOut;
    if (outcome != NetOutcome::TimedOut)
        *reason = m_socket.errorString();
    m_socket.abort();
    return outcome;
}

bool NetLink::flush(QString* reason)
{
    bool failed = false;
    const auto connectedAndPending = [this] {
        return m_socket.state() == QAbstractSocket::ConnectedState && m_socket.bytesToWrite() > 0;
    };
    const bool inTime = waitUntil(m_writeTimeoutMs, [&](QEventLoop& loop) {
        connect(&m_socket, &QAbstractSocket::bytesWritten, &loop, [&] {
            if (!connectedAndPending())
                loop.quit();
        });
        connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, [&] {
            failed = true;
            loop.quit();
        });
        connect(&m_socket, &QAbstractSocket::disconnected, &loop, &QEventLoop::quit);
        return connectedAndPending();
    });
    if (!inTime)
        *reason = QString::fromUtf8(texts::NetWriteTimedOut);
    return inTime && !failed && m_socket.state() == QAbstractSocket::ConnectedState &&
           m_socket.bytesToWrite() == 0;
}

void NetLink::disconnectNow()
{
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        return;
    // Bytes still queued belong to a write that has already failed.
    if (m_socket.bytesToWrite() > 0)
        m_socket.abort();
    else
        m_socket.disconnectFromHost();
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
}

} // namespace led
