#include "link/Waiting.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace led {

void PauseMs(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void BusyWaitMs(int ms)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed())
        PauseMs(static_cast<int>(left));
}

} // namespace led
