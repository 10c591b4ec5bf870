#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>

class QSocketNotifier;

namespace led {

// Turns POSIX signals into a Qt signal through a self-pipe, so the handler does nothing
// but write one byte and the stop runs in the event loop.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject* parent = nullptr);

    // One watcher per process; false with the system's reason in *error.
    bool watch(std::initializer_list<int> numbers, QString* error);

signals:
    void caught(int number);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace led
