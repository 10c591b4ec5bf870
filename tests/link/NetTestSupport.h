#pragma once

#include "core/document/DeviceTable.h"
#include "link/Waiting.h"
#include "support/Waits.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace led::test {

using test::waitUntil;

// A device server stand-in on 127.0.0.1: keeps what every connection brought.
class Listener
{
public:
    struct Connection
    {
        QTcpSocket* socket = nullptr;
        QByteArray bytes;
        bool closed = false;
    };

    Listener()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { takeConnections(); });
    }

    quint16 port() const { return m_server.serverPort(); }
    std::string portText() const { return std::to_string(port()); }
    const std::deque<Connection>& connections() const { return m_connections; }

private:
    void takeConnections()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            m_connections.push_back({s, {}, false});
            Connection* c = &m_connections.back();
            QObject::connect(s, &QTcpSocket::readyRead, [c] { c->bytes += c->socket->readAll(); });
            QObject::connect(s, &QTcpSocket::disconnected, [c] { c->closed = true; });
        }
    }

    // The server goes first: its sockets still report to their connection while closing.
    std::deque<Connection> m_connections;
    QTcpServer m_server;
};

// A port on 127.0.0.1 where nothing listens: opened, noted, closed.
inline quint16 refusedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

// A listener that takes no connection: its accept queue is full, so a connection attempt
// gets no answer at all, as from a device server that is switched off.
class SilentListener
{
public:
    SilentListener()
    {
        m_server.setListenBacklogSize(0);
        m_server.listen(QHostAddress::LocalHost, 0);
        m_server.pauseAccepting();
        // Fill the queue until an attempt stays unanswered; a few are enough on any kernel.
        for (int i = 0; i < 8; ++i) {
            auto filler = std::make_unique<QTcpSocket>();
            filler->connectToHost(QHostAddress::LocalHost, port());
            QTcpSocket* f = filler.get();
            const bool answered =
                waitUntil([f] { return f->state() == QAbstractSocket::ConnectedState; }, 300);
            m_fillers.push_back(std::move(filler));
            if (!answered) {
                m_full = true;
                break;
            }
        }
    }

    quint16 port() const { return m_server.serverPort(); }
    bool isFull() const { return m_full; }

private:
    QTcpServer m_server;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
    bool m_full = false;
};

inline DeviceServerEntry entry(std::string address, std::string port, bool send = true)
{
    return {std::move(address), std::move(port), send};
}

} // namespace led::test
