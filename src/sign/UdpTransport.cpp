#include "sign/UdpTransport.h"

#include <QNetworkDatagram>

namespace led {

UdpTransport::UdpTransport(DeviceDescription device, QObject* parent)
    : QObject(parent), m_device(device)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpTransport::readPending);
}

bool UdpTransport::bind(const QHostAddress& host, quint16 port, QString* error)
{
    if (!host.isLoopback()) {
        if (error)
            *error = QStringLiteral("不是 loopback 位址: ") + host.toString();
        return false;
    }
    if (m_socket.bind(host, port))
        return true;
    if (error)
        *error = m_socket.errorString();
    return false;
}

void UdpTransport::readPending()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (!datagram.isValid() || !datagram.senderAddress().isLoopback())
            continue;
        const QByteArray data = datagram.data();
        const auto answer = answerDeviceRequest(
            std::string_view(data.constData(), static_cast<std::size_t>(data.size())), m_device);
        if (answer)
            m_socket.writeDatagram(answer->data(), static_cast<qint64>(answer->size()),
                                   datagram.senderAddress(),
                                   static_cast<quint16>(datagram.senderPort()));
    }
}

} // namespace led
