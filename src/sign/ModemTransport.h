#pragma once

#include "sign/HayesModem.h"
#include "sign/PtyPort.h"
#include "sign/SignLine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace led {

class Sign;

// A Hayes modem on its own pseudo-terminal, with the sign at the far end of the call.
class ModemTransport : public QObject
{
    Q_OBJECT

public:
    explicit ModemTransport(Sign& sign, std::int64_t guardMs = HayesModem::DefaultGuardMs,
                            QObject* parent = nullptr);

    bool open(QString* error);
    QString slaveName() const { return m_port.slaveName(); }
    const HayesModem& modem() const { return m_modem; }

private:
    void received(const QByteArray& bytes);
    void expire();
    void handle(const HayesModem::Output& out, bool wasOnline);

    Sign& m_sign;
    PtyPort m_port;
    HayesModem m_modem;
    SignLine m_line;
    QTimer m_guard;
    QElapsedTimer m_clock;
};

} // namespace led
