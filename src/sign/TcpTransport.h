#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

namespace led {

class Sign;

// A serial device server: every TCP connection is a line into the sign; the line's answers
// go back on the connection, as the device server passes its serial side on.
class TcpTransport : public QObject
{
    Q_OBJECT

public:
    explicit TcpTransport(Sign& sign, QObject* parent = nullptr);

    // Loopback only; port 0 picks a free one. False with the reason in *error.
    bool listen(const QHostAddress& host, quint16 port, QString* error);
    QHostAddress address() const { return m_server.serverAddress(); }
    quint16 port() const { return m_server.serverPort(); }

private:
    void accept();

    Sign& m_sign;
    QTcpServer m_server;
};

} // namespace led
