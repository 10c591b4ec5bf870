#pragma once

#include "core/document/DeviceTable.h"
#include "core/text/Big5.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace led {

namespace texts {
inline constexpr const char* NetWriteTimedOut = "裝置伺服器未在時限內收下資料";
} // namespace texts

enum class NetOutcome
{
    Written,            // connected and every byte handed to the network
    Connected,          // connection test: the connection was made
    NoAddress,          // empty IP cell: nothing tried
    BadAddress,         // the IP cell holds no IP address
    BadPort,            // the PORT cell holds no port 1..65535
    Refused,            // nothing listens there
    TimedOut,           // no connection within the connect time-out
    ConnectFailed,      // any other failure before the connection (no route, ...)
    FailedAfterConnect, // connected, but the bytes did not all go out
    Busy,               // another transmission of this link is still running
};

struct NetRowResult
{
    int row = 0; // 1..100, the table row
    NetOutcome outcome = NetOutcome::NoAddress;
    qint64 elapsedMs = 0; // the row's whole time, a command's pause included
    QString reason;       // the system's words, empty when it has none
};

// Status picture of the send dialog's row after a write: 1 took the transmission, 0
// failed after connecting, nothing for a row that was not reached (left as it was).
std::optional<int> writeStatusPicture(const NetRowResult& r);
// Status picture after the connection test: 1 connected, 0 otherwise, nothing for a row
// that was not tried because the link was busy.
std::optional<int> connectionTestPicture(const NetRowResult& r);

// The TCP client of the network link: writes a finished transmission to each enabled
// device server in row order. Every call runs to its end in a local event loop and is
// bounded by the connect time-out per row plus the write time-out per reached row.
class NetLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultWriteTimeoutMs = 5000;
    static constexpr int CommandPauseMs = 200;

    explicit NetLink(QObject* parent = nullptr);

    // Commands: the bytes as they are, a 200 ms pause, and the connection left open until
    // the next call of this link closes it.
    std::vector<NetRowResult> sendNet(std::string_view bytes,
                                      std::span<const DeviceServerEntry> rows, int timeoutMs,
                                      bool tempset);
    // Screen upload: the bytes and CR LF in one write, then disconnect.
    std::vector<NetRowResult> uploadNet(std::string_view bytes,
                                        std::span<const DeviceServerEntry> rows, int timeoutMs,
                                        bool tempset);
    // Every row, send flag or not: connect to its IP and PORT cells and leave the
    // connection open until the next row.
    std::vector<NetRowResult> connectionTest(std::span<const DeviceServerEntry> rows,
                                             int timeoutMs);

    // How long a reached device server may take to accept the bytes.
    void setWriteTimeoutMs(int ms) { m_writeTimeoutMs = ms; }
    int writeTimeoutMs() const { return m_writeTimeoutMs; }

    bool isBusy() const { return m_busy; }
    // Whether a command left its connection open.
    bool isConnected() const;

private:
    enum class Mode
    {
        Command,
        Upload
    };
    std::vector<NetRowResult> write(std::string_view bytes, std::span<const DeviceServerEntry> rows,
                                    int timeoutMs, bool tempset, Mode mode);
    NetRowResult writeRow(int row, const DeviceServerEntry& entry, const QByteArray& data,
                          int timeoutMs, Mode mode);
    NetOutcome connectTo(const DeviceServerEntry& entry, int timeoutMs, QString* reason);
    bool flush(QString* reason);
    void disconnectNow();

    QTcpSocket m_socket;
    int m_writeTimeoutMs = DefaultWriteTimeoutMs;
    bool m_busy = false;
};

} // namespace led
