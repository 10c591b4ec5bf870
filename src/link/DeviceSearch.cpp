#include "link/DeviceSearch.h"

#include "core/document/DeviceTable.h"
#include "link/NetLink.h"

#include <QNetworkDatagram>
#include <QPointer>

#include <string_view>

namespace led {

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Whether a datagram can be the answer to the query; anything else that comes meanwhile
// (a late poll answer, another program's packet) is passed over.
bool answers(SearchStepKind query, const QByteArray& datagram)
{
    if (query == SearchStepKind::SerialQuery)
        return parseSerialSettingsAnswer(view(datagram)).has_value();
    return parsePortAnswer(view(datagram)).has_value();
}

} // namespace

DeviceSearch::DeviceSearch(NetLink& link, QObject* parent)
    : QObject(parent), m_link(link), m_socket(this), m_ticks(this), m_queryTimer(this),
      m_target(QString::fromLatin1(DeviceSearchAddress)), m_targetPort(DeviceSearchPort)
{
    m_ticks.setInterval(SearchTickMs);
    m_ticks.setTimerType(Qt::PreciseTimer);
    m_queryTimer.setSingleShot(true);
    connect(&m_ticks, &QTimer::timeout, this, &DeviceSearch::onTick);
    connect(&m_queryTimer, &QTimer::timeout, this, [this] { endQuery(std::nullopt); });
    connect(&m_socket, &QUdpSocket::readyRead, this, &DeviceSearch::onReadyRead);
}

void DeviceSearch::setTarget(const QHostAddress& address, quint16 port)
{
    m_target = address;
    m_targetPort = port;
}

bool DeviceSearch::start(DeviceTable* table, int connectTimeoutMs)
{
    if (isRunning() || !table)
        return false;
    m_table = table;
    ++m_generation;
    m_connectTimeoutMs = connectTimeoutMs;
    m_state = {};
    m_query.reset();
    m_error.clear();
    m_table->clearSearchCells();
    emit tableChanged();

    // A fresh socket for every search, so nothing of an earlier one is read as an answer.
    m_socket.abort();
    const bool v6 = m_target.protocol() == QAbstractSocket::IPv6Protocol;
    if (!m_socket.bind(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4, 0))
        noteError();

    const SearchStep discovery = nextSearchStep(m_state);
    send(discovery.packet);
    apply(discovery, std::nullopt);
    m_ticks.start();
    return true;
}

void DeviceSearch::cancel()
{
    m_ticks.stop();
    m_queryTimer.stop();
    m_query.reset();
    m_table = nullptr;
    ++m_generation;
}

void DeviceSearch::onTick()
{
    const SearchStep step = nextSearchStep(m_state);
    if (step.kind != SearchStepKind::Poll) {
        // The tick after the last poll runs the queries and the final poll.
        m_ticks.stop();
        advance();
        return;
    }
    send(step.packet);
    apply(step, takeDatagram());
    emit progress(m_state.tick, SearchPollTicks);
}

void DeviceSearch::advance()
{
    const SearchStep step = nextSearchStep(m_state);
    switch (step.kind) {
    case SearchStepKind::SerialQuery:
    case SearchStepKind::PortQuery:
        startQuery(step);
        break;
    case SearchStepKind::FinalPoll:
        runFinalPoll(step);
        break;
    default:
        break;
    }
}

void DeviceSearch::startQuery(const SearchStep& step)
{
    // Poll answers left over from the ticks would otherwise be read as the query's answer.
    while (m_socket.hasPendingDatagrams())
        m_socket.receiveDatagram();
    m_query = step;
    m_queryTries = 0;
    send(step.packet);
    m_queryTimer.start(m_queryWaitMs);
    onReadyRead();
}

void DeviceSearch::onReadyRead()
{
    if (!m_query)
        return; // the ticks take their datagrams themselves
    while (m_query && m_queryTries < m_query->receiveTries) {
        const auto datagram = takeDatagram();
        if (!datagram)
            return;
        ++m_queryTries;
        if (answers(m_query->kind, *datagram))
            endQuery(datagram);
    }
    if (m_query)
        endQuery(std::nullopt);
}

void DeviceSearch::endQuery(std::optional<QByteArray> answer)
{
    if (!m_query)
        return;
    const SearchStep step = *m_query;
    m_query.reset();
    m_queryTimer.stop();
    apply(step, answer);
    // The next step runs from the event loop, so a long row list does not nest calls.
    QTimer::singleShot(0, this, [this] {
        if (isRunning())
            advance();
    });
}

void DeviceSearch::runFinalPoll(const SearchStep& step)
{
    send(step.packet);
    apply(step, takeDatagram());
    runConnectionTest();
}

void DeviceSearch::runConnectionTest()
{
    DeviceTable* table = m_table;
    const int generation = m_generation;
    QPointer<DeviceSearch> self(this);
    const DeviceServerList rows = table->serverList();
    // The test waits in a local event loop, where the search may be cancelled or restarted.
    const auto results = m_link.connectionTest(rows, m_connectTimeoutMs);
    if (!self || m_generation != generation)
        return;
    for (const NetRowResult& r : results)
        if (const auto picture = connectionTestPicture(r))
            table->row(r.row).status = *picture;
    m_table = nullptr;
    emit tableChanged();
    emit finished();
}

void DeviceSearch::send(const Bytes& packet)
{
    const QByteArray bytes(packet.data(), static_cast<qsizetype>(packet.size()));
    if (m_socket.writeDatagram(bytes, m_target, m_targetPort) != bytes.size())
        noteError();
}

std::optional<QByteArray> DeviceSearch::takeDatagram()
{
    if (!m_socket.hasPendingDatagrams())
        return std::nullopt;
    const QNetworkDatagram datagram = m_socket.receiveDatagram();
    if (!datagram.isValid())
        return std::nullopt;
    return datagram.data();
}

void DeviceSearch::apply(const SearchStep& step, const std::optional<QByteArray>& datagram)
{
    const auto before = m_state.rows;
    applySearchStep(m_state, step, datagram ? std::optional(view(*datagram)) : std::nullopt);
    if (m_state.rows != before) {
        writeSearchResults(m_state, *m_table);
        emit tableChanged();
    }
}

void DeviceSearch::noteError()
{
    if (m_error.isEmpty())
        m_error = m_socket.errorString();
}

} // namespace led
