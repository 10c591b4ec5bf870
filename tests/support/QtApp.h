#pragma once

#include <QCoreApplication>

namespace led::test {

// One application object for every test of a program; Qt needs it for timers and sockets.
inline QCoreApplication& ensureQtApp()
{
    static int argc = 1;
    static char name[] = "ledcaption-test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    return *QCoreApplication::instance();
}

} // namespace led::test
