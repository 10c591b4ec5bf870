#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string_view>

class QSocketNotifier;

namespace led {

// A pseudo-terminal whose slave side is the serial device a client opens. The sign reads
// and writes the master side. A slave descriptor stays open here, so the master neither
// reports a hang-up between clients nor loses its raw settings.
class PtyPort : public QObject
{
    Q_OBJECT

public:
    explicit PtyPort(QObject* parent = nullptr);
    ~PtyPort() override;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // False with the system's reason in *error.
    bool open(QString* error);
    QString slaveName() const { return m_slaveName; }
    // What a client cannot take now (its input queue full) is dropped; answers are short.
    void write(std::string_view bytes);

signals:
    void received(const QByteArray& bytes);

private:
    void readAvailable();
    void close();

    int m_master = -1;
    int m_slave = -1;
    QString m_slaveName;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace led
