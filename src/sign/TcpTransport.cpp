#include "sign/TcpTransport.h"

#include "sign/SignLine.h"

#include <QTcpSocket>

namespace led {

TcpTransport::TcpTransport(Sign& sign, QObject* parent) : QObject(parent), m_sign(sign)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpTransport::accept);
}

bool TcpTransport::listen(const QHostAddress& host, quint16 port, QString* error)
{
    if (!host.isLoopback()) {
        if (error)
            *error = QStringLiteral("不是 loopback 位址: ") + host.toString();
        return false;
    }
    if (m_server.listen(host, port))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

void TcpTransport::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        auto* line = new SignLine(
            m_sign,
            [socket](std::string_view bytes) {
                socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
            },
            socket);
        connect(socket, &QTcpSocket::readyRead, line, [socket, line] {
            const QByteArray bytes = socket->readAll();
            line->receive(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        });
        // A closed connection ends its last transmission.
        connect(socket, &QTcpSocket::disconnected, line, [socket, line] {
            line->flush();
            socket->deleteLater();
        });
    }
}

} // namespace led
