#include "sign/PtyPort.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace led {
namespace {

QString systemError(const char* what)
{
    return QString::fromUtf8(what) + QStringLiteral(": ") +
           QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PtyPort::PtyPort(QObject* parent) : QObject(parent) {}

PtyPort::~PtyPort()
{
    close();
}

bool PtyPort::open(QString* error)
{
    close();
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        if (error)
            *error = systemError("openpty");
        return false;
    }
    // Raw both ways: no echo of the sign's answers, no line editing of the transmissions.
    termios raw{};
    if (::tcgetattr(m_slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) < 0) {
        if (error)
            *error = systemError("fcntl");
        close();
        return false;
    }
    m_slaveName = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPort::readAvailable);
    return true;
}

void PtyPort::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

void PtyPort::readAvailable()
{
    QByteArray got;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<qsizetype>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: all read. Anything else would only repeat; stop listening rather than spin.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && m_notifier)
            m_notifier->setEnabled(false);
        break;
    }
    if (!got.isEmpty())
        emit received(got);
}

void PtyPort::write(std::string_view bytes)
{
    while (!bytes.empty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

} // namespace led
