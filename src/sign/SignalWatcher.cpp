#include "sign/SignalWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace led {
namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void onSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {}

bool SignalWatcher::watch(std::initializer_list<int> numbers, QString* error)
{
    auto fail = [&](const char* what) {
        if (error)
            *error = QString::fromUtf8(what) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::strerror(errno));
        return false;
    };
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe2");
    struct sigaction action
    {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : numbers)
        if (::sigaction(number, &action, nullptr) != 0)
            return fail("sigaction");
    if (!m_notifier) {
        m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readPipe);
    }
    return true;
}

void SignalWatcher::readPipe()
{
    char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        emit caught(static_cast<unsigned char>(byte));
}

} // namespace led
