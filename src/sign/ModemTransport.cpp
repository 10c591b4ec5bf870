#include "sign/ModemTransport.h"

#include "sign/Sign.h"

namespace led {

ModemTransport::ModemTransport(Sign& sign, std::int64_t guardMs, QObject* parent)
    : QObject(parent), m_sign(sign), m_modem(guardMs), m_line(sign, [this](std::string_view bytes) {
          // The far end's answers travel back only while the call is up.
          if (m_modem.online())
              m_port.write(bytes);
      })
{
    m_clock.start();
    m_guard.setSingleShot(true);
    connect(&m_guard, &QTimer::timeout, this, &ModemTransport::expire);
    connect(&m_port, &PtyPort::received, this, &ModemTransport::received);
}

bool ModemTransport::open(QString* error)
{
    return m_port.open(error);
}

void ModemTransport::received(const QByteArray& bytes)
{
    const bool wasOnline = m_modem.online();
    handle(m_modem.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        m_clock.elapsed()),
           wasOnline);
}

void ModemTransport::expire()
{
    const bool wasOnline = m_modem.online();
    handle(m_modem.expire(m_clock.elapsed()), wasOnline);
}

void ModemTransport::handle(const HayesModem::Output& out, bool wasOnline)
{
    if (!out.toSign.empty())
        m_line.receive(out.toSign);
    if (wasOnline && !m_modem.online())
        m_line.flush(); // back in command mode: the call's data has ended
    if (!out.toLine.empty()) {
        m_port.write(out.toLine);
        std::string shown = out.toLine;
        while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r'))
            shown.pop_back();
        m_sign.note("數據機: " + shown);
    }
    if (const auto due = m_modem.escapeDue())
        m_guard.start(static_cast<int>(std::max<std::int64_t>(0, *due - m_clock.elapsed())));
    else
        m_guard.stop();
}

} // namespace led
