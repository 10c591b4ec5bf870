#include "link/Waiting.h"
#include "support/QtApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(Waiting, PauseKeepsEventsRunning)
{
    test::ensureQtApp();
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    PauseMs(60);
    EXPECT_TRUE(fired);
    EXPECT_GE(clock.elapsed(), 59);
    EXPECT_LT(clock.elapsed(), 1000);

    clock.restart();
    BusyWaitMs(30);
    EXPECT_GE(clock.elapsed(), 30);
    PauseMs(0);
}

} // namespace
} // namespace led
