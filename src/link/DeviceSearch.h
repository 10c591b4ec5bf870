#pragma once

#include "core/protocol/DeviceServer.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

#include <optional>

namespace led {

class DeviceTable;
class NetLink;

// The "自動搜尋" of the TCP/IP dialog: discovery and polls on 20 ms ticks, the two queries
// for every device found, one last poll, then the connection test of every row. The
// packets and the rows found come from the search model; this class only moves them.
class DeviceSearch : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultQueryWaitMs = 100;

    // The connection test at the end goes through link, as every TCP connection does.
    explicit DeviceSearch(NetLink& link, QObject* parent = nullptr);

    // Where the packets go: 255.255.255.255 and port 4800 unless set otherwise.
    void setTarget(const QHostAddress& address, quint16 port);
    QHostAddress targetAddress() const { return m_target; }
    quint16 targetPort() const { return m_targetPort; }

    // How long a query waits for its answer; the first answer ends the wait.
    void setQueryWaitMs(int ms) { m_queryWaitMs = ms; }
    int queryWaitMs() const { return m_queryWaitMs; }

    // Clears the table's search cells and fills them as answers come; table must outlive
    // the search or the search be cancelled first. False while a search runs.
    bool start(DeviceTable* table, int connectTimeoutMs);
    // Stops where it is; the table keeps what was written so far. No finished().
    void cancel();
    bool isRunning() const { return m_table != nullptr; }

    const DeviceSearchState& state() const { return m_state; }
    // The first socket failure of the last search, empty when there was none.
    QString errorString() const { return m_error; }

signals:
    void progress(int tick, int ticks);
    // Cells of the table were written (addresses, settings, ports or status pictures).
    void tableChanged();
    void finished();

private:
    void onTick();
    void advance();
    void startQuery(const SearchStep& step);
    void onReadyRead();
    void endQuery(std::optional<QByteArray> answer);
    void runFinalPoll(const SearchStep& step);
    void runConnectionTest();

    void send(const Bytes& packet);
    std::optional<QByteArray> takeDatagram();
    void apply(const SearchStep& step, const std::optional<QByteArray>& datagram);
    void noteError();

    NetLink& m_link;
    QUdpSocket m_socket;
    QTimer m_ticks;
    QTimer m_queryTimer;
    QHostAddress m_target;
    quint16 m_targetPort;
    int m_queryWaitMs = DefaultQueryWaitMs;
    int m_connectTimeoutMs = 0;

    DeviceTable* m_table = nullptr;
    int m_generation = 0;
    DeviceSearchState m_state;
    std::optional<SearchStep> m_query; // the query waiting for its answer
    int m_queryTries = 0;
    QString m_error;
};

} // namespace led
