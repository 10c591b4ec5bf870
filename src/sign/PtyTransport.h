#pragma once

#include "sign/PtyPort.h"
#include "sign/SignLine.h"

#include <QObject>

namespace led {

class Sign;

// The sign's serial line on a pseudo-terminal; the brightness controller answers on it.
class PtyTransport : public QObject
{
    Q_OBJECT

public:
    explicit PtyTransport(Sign& sign, QObject* parent = nullptr);

    bool open(QString* error);
    QString slaveName() const { return m_port.slaveName(); }

private:
    PtyPort m_port;
    SignLine m_line;
};

} // namespace led
