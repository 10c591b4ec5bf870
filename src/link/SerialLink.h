#pragma once

#include "core/protocol/Bright.h"
#include "core/text/Big5.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

namespace led {

namespace texts {
inline constexpr const char* PortUnavailable = "無法設定通訊埠，找不到通訊埠或被佔用！";
inline constexpr const char* PortErrorCaption = "錯誤";
inline constexpr const char* SendAgain = "請重新傳送";
inline constexpr const char* SendAgainCaption = "重新傳送";
inline constexpr const char* PortMissingReselect = "無法設定通訊埠，找不到通訊埠,請重新設定！";
inline constexpr const char* NoDeviceForPort = "此通訊埠沒有對應的裝置";
inline constexpr const char* SendInProgress = "上一筆資料還在傳送中";
inline constexpr const char* OutputTimedOut = "輸出逾時，%2 位元組只送出 %1";
} // namespace texts

enum class SerialStatus
{
    Ok,
    PortMissing,    // no device behind the port, or the device does not exist
    PortBusy,       // the device exists but cannot be opened (in use, no permission)
    WriteFailed,    // the port refused the bytes
    DeviceVanished, // the device went away while open (unplugged adapter)
    DrainTimedOut,  // the bytes did not leave within the transmit time and the margin
    Busy            // another transmission or awaited answer on this link is still waiting
};

struct SerialResult
{
    SerialStatus status = SerialStatus::Ok;
    QString reason; // the system's words, empty when all went well
    qint64 bytesWritten = 0;
    qint64 transmitMs = 0;
    qint64 elapsedMs = 0;

    bool ok() const { return status == SerialStatus::Ok; }
};

// Twelve bit times per byte, whole milliseconds.
qint64 transmitTimeMs(qint64 byteCount, int baud);

// The serial line to the signs: 8 data bits, no parity, one stop bit, no flow control.
// The port is opened by the first write and stays open. Bytes that arrive are collected
// for the brightness controller's reply.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultBaud = 2400;
    static constexpr int DefaultDrainMarginMs = 2000;
    static constexpr int ModemTickMs = 55;

    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;

    // Closes the port when the device changes.
    void setPortName(const QString& device);
    QString portName() const;
    // Applied at once to an open port, otherwise when it opens.
    void setBaudRate(int baud);
    int baudRate() const { return m_baud; }
    void setDrainMarginMs(int ms) { m_drainMarginMs = ms; }

    SerialResult open();
    bool isOpen() const;
    void close();

    // One transmission: the line goes to the rate of baudIndex (an index outside 1..14
    // counts as 2400), 30 "0" go in front when tempset is on, all bytes are handed over at
    // once, and the call returns when the transmit time has passed and the output has
    // drained, or after the transmit time plus the margin. Events run meanwhile.
    SerialResult sendCom(const Bytes& bytes, int baudIndex, bool tempset);
    // Hands the bytes over at the current rate and returns without waiting.
    SerialResult writeDirect(const Bytes& bytes);
    // Until the text arrives (ASCII case ignored) or the time is up; events run meanwhile.
    // Bytes read by the wait do not reach the receive path.
    bool waitForTextMs(const QByteArray& text, int timeoutMs);
    bool waitForText(const QByteArray& text, int ticks)
    {
        return waitForTextMs(text, ticks * ModemTickMs);
    }

    const Bytes& receiveBuffer() const { return m_receiveBuffer; }
    void setBrightHandler(std::function<void(const BrightReading&)> handler);

signals:
    void brightReplyReceived(const led::BrightReading& reading);
    // The open device went away; emitted from the event loop once the port is closed.
    void deviceVanished(const QString& reason);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    SerialResult waitUntilSent(qint64 transmitMs, const QElapsedTimer& clock);

    QSerialPort* m_port;
    int m_baud = DefaultBaud;
    int m_drainMarginMs = DefaultDrainMarginMs;
    bool m_waiting = false; // one wait at a time: a transmission or an awaited text
    int m_openings = 0;
    Bytes m_receiveBuffer;
    std::function<void(const BrightReading&)> m_brightHandler;

    // The error handler reports to the wait that runs, if any.
    struct Failure
    {
        SerialStatus status = SerialStatus::Ok;
        QString reason;
    };
    Failure m_failure;
    std::function<void()> m_wake;

    struct TextWait
    {
        QByteArray text; // lower case
        QByteArray seen;
        bool found = false;
    };
    TextWait* m_textWait = nullptr;
};

} // namespace led
