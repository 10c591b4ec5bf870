#pragma once

#include "core/protocol/DeviceAnswers.h"

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

namespace led {

// The device server's search side: answers the device search and the two queries.
class UdpTransport : public QObject
{
    Q_OBJECT

public:
    explicit UdpTransport(DeviceDescription device, QObject* parent = nullptr);

    // Loopback only: the answers go to whoever asked, and nothing may leave this machine.
    bool bind(const QHostAddress& host, quint16 port, QString* error);
    quint16 port() const { return m_socket.localPort(); }
    const DeviceDescription& device() const { return m_device; }
    void setDevice(const DeviceDescription& device) { m_device = device; }

private:
    void readPending();

    DeviceDescription m_device;
    QUdpSocket m_socket;
};

} // namespace led
