#include "sign/PtyTransport.h"

namespace led {

PtyTransport::PtyTransport(Sign& sign, QObject* parent)
    : QObject(parent), m_line(sign, [this](std::string_view bytes) { m_port.write(bytes); })
{
    connect(&m_port, &PtyPort::received, this, [this](const QByteArray& bytes) {
        m_line.receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
}

bool PtyTransport::open(QString* error)
{
    return m_port.open(error);
}

} // namespace led
