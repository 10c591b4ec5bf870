#include "link/SerialLink.h"

#include "core/protocol/Frames.h"

#include "core/protocol/BaudRates.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace led {
namespace {

SerialResult failure(SerialStatus status, QString reason)
{
    SerialResult r;
    r.status = status;
    r.reason = std::move(reason);
    return r;
}

} // namespace

qint64 transmitTimeMs(qint64 byteCount, int baud)
{
    if (baud <= 0 || byteCount <= 0)
        return 0;
    return byteCount * 12000 / baud;
}

SerialLink::SerialLink(QObject* parent) : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::setPortName(const QString& device)
{
    if (device == m_port->portName())
        return;
    close();
    m_port->setPortName(device);
}

QString SerialLink::portName() const
{
    return m_port->portName();
}

void SerialLink::setBaudRate(int baud)
{
    m_baud = baud;
    if (m_port->isOpen())
        m_port->setBaudRate(baud);
}

bool SerialLink::isOpen() const
{
    return m_port->isOpen();
}

void SerialLink::close()
{
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

SerialResult SerialLink::open()
{
    if (m_port->isOpen())
        return {};
    if (m_port->portName().isEmpty())
        return failure(SerialStatus::PortMissing, QString::fromUtf8(texts::NoDeviceForPort));
    m_port->setBaudRate(m_baud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (m_port->open(QIODevice::ReadWrite)) {
        ++m_openings;
        m_failure = {};
        return {};
    }
    const auto status = m_port->error() == QSerialPort::DeviceNotFoundError
                            ? SerialStatus::PortMissing
                            : SerialStatus::PortBusy;
    SerialResult r = failure(status, m_port->errorString());
    m_port->clearError();
    return r;
}

SerialResult SerialLink::sendCom(const Bytes& bytes, int baudIndex, bool tempset)
{
    if (m_waiting)
        return failure(SerialStatus::Busy, QString::fromUtf8(texts::SendInProgress));
    setBaudRate(baudRateForIndex(baudIndex));
    SerialResult opened = open();
    if (!opened.ok())
        return opened;

    const Bytes line = withPreamble(bytes, tempset);
    const QByteArray data(line.data(), static_cast<qsizetype>(line.size()));
    const qint64 transmitMs = transmitTimeMs(data.size(), m_baud);

    m_waiting = true;
    m_failure = {};
    QElapsedTimer clock;
    clock.start();
    SerialResult r;
    const qint64 accepted = m_port->write(data);
    if (accepted != data.size())
        r = failure(SerialStatus::WriteFailed, m_port->errorString());
    else
        r = waitUntilSent(transmitMs, clock);
    m_waiting = false;

    if (r.status == SerialStatus::DeviceVanished)
        close();
    else if (r.status == SerialStatus::DrainTimedOut || r.status == SerialStatus::WriteFailed)
        // What did not leave must not go out in front of the next transmission.
        m_port->clear(QSerialPort::Output);
    r.transmitMs = transmitMs;
    r.elapsedMs = clock.elapsed();
    return r;
}

SerialResult SerialLink::waitUntilSent(qint64 transmitMs, const QElapsedTimer& clock)
{
    const qint64 deadline = transmitMs + std::max(0, m_drainMarginMs);
    qint64 sent = 0;
    bool done = false, timedOut = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);

    auto finish = [&] {
        done = true;
        loop.quit();
    };
    auto check = [&] {
        if (done)
            return;
        const qint64 elapsed = clock.elapsed();
        if (m_failure.status != SerialStatus::Ok)
            return finish();
        if (elapsed >= transmitMs && m_port->bytesToWrite() == 0)
            return finish();
        if (elapsed >= deadline) {
            timedOut = true;
            return finish();
        }
        timer.start(
            static_cast<int>(elapsed < transmitMs ? transmitMs - elapsed : deadline - elapsed));
    };
    connect(&timer, &QTimer::timeout, &loop, check);
    const auto written = connect(m_port, &QSerialPort::bytesWritten, &loop, [&](qint64 n) {
        sent += n;
        check();
    });
    m_wake = check;
    check();
    if (!done)
        loop.exec();
    m_wake = nullptr;
    disconnect(written);

    SerialResult r;
    if (m_failure.status != SerialStatus::Ok)
        r = failure(m_failure.status, m_failure.reason);
    else if (timedOut)
        r = failure(
            SerialStatus::DrainTimedOut,
            QString::fromUtf8(texts::OutputTimedOut).arg(sent).arg(sent + m_port->bytesToWrite()));
    r.bytesWritten = sent;
    return r;
}

SerialResult SerialLink::writeDirect(const Bytes& bytes)
{
    SerialResult r = open();
    if (!r.ok())
        return r;
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 accepted = m_port->write(bytes.data(), size);
    r.transmitMs = transmitTimeMs(size, m_baud);
    if (accepted != size) {
        r = failure(SerialStatus::WriteFailed, m_port->errorString());
        m_port->clear(QSerialPort::Output);
        return r;
    }
    r.bytesWritten = accepted;
    return r;
}

bool SerialLink::waitForTextMs(const QByteArray& text, int timeoutMs)
{
    if (!m_port->isOpen() || m_waiting)
        return false;
    TextWait wait;
    wait.text = text.toLower();
    if (wait.text.isEmpty())
        return true;
    m_waiting = true;
    m_failure = {};

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    m_textWait = &wait;
    m_wake = [&] {
        if (wait.found || m_failure.status != SerialStatus::Ok)
            loop.quit();
    };
    // Bytes the port holds already belong to the answer awaited.
    if (m_port->bytesAvailable() > 0)
        onReadyRead();
    if (!wait.found && m_port->isOpen()) {
        timer.start(std::max(0, timeoutMs));
        loop.exec();
    }
    m_wake = nullptr;
    m_textWait = nullptr;
    m_waiting = false;
    return wait.found;
}

void SerialLink::setBrightHandler(std::function<void(const BrightReading&)> handler)
{
    m_brightHandler = std::move(handler);
}

void SerialLink::onReadyRead()
{
    const QByteArray batch = m_port->readAll();
    if (m_textWait) {
        TextWait& wait = *m_textWait;
        if (wait.found)
            return;
        wait.seen += batch.toLower();
        wait.found = wait.seen.contains(wait.text);
        // Only a partial match at the end can still grow into the text.
        if (wait.seen.size() >= wait.text.size())
            wait.seen = wait.seen.right(wait.text.size() - 1);
        if (wait.found && m_wake)
            m_wake();
        return;
    }
    const auto reading =
        receiveBrightBytes(m_receiveBuffer, std::string_view(batch.constData(), batch.size()));
    if (!reading)
        return;
    if (m_brightHandler)
        m_brightHandler(*reading);
    emit brightReplyReceived(*reading);
}

void SerialLink::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::ResourceError) {
        if (m_failure.status == SerialStatus::DeviceVanished)
            return;
        m_failure = {SerialStatus::DeviceVanished, m_port->errorString()};
        if (m_wake)
            m_wake();
        // Closing inside the port's own notification is not safe: the port is closed on
        // the next turn of the event loop, unless it has been closed and opened again.
        const int opening = m_openings;
        const QString reason = m_failure.reason;
        QMetaObject::invokeMethod(
            this,
            [this, opening, reason] {
                if (opening == m_openings)
                    close();
                emit deviceVanished(reason);
            },
            Qt::QueuedConnection);
    } else if (error == QSerialPort::WriteError && m_failure.status == SerialStatus::Ok) {
        m_failure = {SerialStatus::WriteFailed, m_port->errorString()};
        if (m_wake)
            m_wake();
    }
}

} // namespace led
