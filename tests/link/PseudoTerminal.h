#pragma once

#include "support/QtApp.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

namespace led::test {

// A pseudo-terminal whose slave side stands in for a serial device; the test plays the
// far end on the master side. Reads run from the event loop, so they happen while the
// code under test waits.
class PseudoTerminal
{
public:
    struct Chunk
    {
        int baud; // the line rate when the bytes were read
        QByteArray bytes;
    };

    PseudoTerminal()
    {
        ensureQtApp(); // the notifier needs it
        char name[128] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        m_slavePath = QString::fromLocal8Bit(name);
        termios t{};
        ::tcgetattr(m_slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readMaster(); });
    }
    ~PseudoTerminal()
    {
        delete m_notifier.release();
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    QString slavePath() const { return m_slavePath; }

    // Called with every batch the far end reads; by default the bytes are only kept.
    void onRead(std::function<void(const QByteArray&)> handler) { m_onRead = std::move(handler); }

    QByteArray received() const
    {
        QByteArray all;
        for (const auto& c : m_chunks)
            all += c.bytes;
        return all;
    }
    const std::vector<Chunk>& chunks() const { return m_chunks; }

    void send(const QByteArray& bytes)
    {
        if (m_master >= 0) {
            [[maybe_unused]] const auto n = ::write(m_master, bytes.constData(), bytes.size());
        }
    }

    // Safe from inside onRead: the notifier goes on the next turn of the event loop.
    void closeMaster()
    {
        if (m_notifier) {
            m_notifier->setEnabled(false);
            m_notifier.release()->deleteLater();
        }
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    // The rate the slave side is set to (both sides share the settings).
    int baud() const
    {
        termios t{};
        if (m_master < 0 || ::tcgetattr(m_master, &t) != 0)
            return 0;
        switch (::cfgetospeed(&t)) {
        case B150:
            return 150;
        case B300:
            return 300;
        case B600:
            return 600;
        case B1200:
            return 1200;
        case B1800:
            return 1800;
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        case B230400:
            return 230400;
        default:
            return -1;
        }
    }

private:
    void readMaster()
    {
        char buf[4096];
        for (;;) {
            const auto n = ::read(m_master, buf, sizeof buf);
            if (n <= 0)
                break;
            const QByteArray bytes(buf, n);
            m_chunks.push_back({baud(), bytes});
            if (m_onRead)
                m_onRead(bytes);
            if (m_master < 0)
                break;
        }
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::vector<Chunk> m_chunks;
    std::function<void(const QByteArray&)> m_onRead;
};

} // namespace led::test
