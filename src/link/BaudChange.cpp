#include "link/BaudChange.h"

#include "core/protocol/BaudRates.h"
#include "core/protocol/Bright.h"
#include "link/Waiting.h"

#include <algorithm>
#include <cmath>

namespace led {

BaudChange::BaudChange(SerialLink& serial) : m_serial(serial) {}

int BaudChange::scaled(int ms) const
{
    return static_cast<int>(std::lround(ms * std::max(0.0, m_timeScale)));
}

BaudChangeRecord BaudChange::SendSpeed2400Click(int tag, TSystemparameter& s)
{
    BaudChangeRecord record;
    if (!isBaudIndex(tag))
        return record;
    s.baudIndex = tag;
    record.baudIndex = tag;
    record.statusText = QString::fromUtf8(baudEntryForIndex(tag).statusText);

    const auto code = baudCodeForTag(tag);
    if (!code)
        return record;
    record.codeSent = code;

    m_lastCodeSent = *code;
    if (s.port == PortTcpIp) {
        for (int i = 0; i < NetworkRepeats && m_netSend; ++i) {
            const Bytes change = baudChangeTransmission(s, *code);
            m_netSend(change);
            record.writes.push_back({0, change, {}});
            // The controller hears this change's code, not one a serial sweep left behind.
            const Bytes bright = brightBaudFrame(m_unitDigit, *code);
            if (!bright.empty()) {
                m_netSend(bright);
                record.writes.push_back({0, bright, {}});
            }
        }
    } else {
        for (std::size_t i = 0; i < BaudSweepRates.size(); ++i) {
            m_serial.setBaudRate(BaudSweepRates[i]);
            speedchange(s, *code, record);
            if (i + 1 < BaudSweepRates.size())
                PauseMs(scaled(SweepPauseMs));
        }
        m_serial.close();
    }
    record.finalBaud = baudRateForIndex(tag);
    m_serial.setBaudRate(record.finalBaud);
    return record;
}

void BaudChange::speedchange(TSystemparameter& s, std::uint8_t code, BaudChangeRecord& record)
{
    const std::size_t before = record.writes.size();
    const SerialResult opened = m_serial.open();
    if (opened.ok()) {
        const bool changeWritten = writeSerial(baudChangeTransmission(s, code), record);
        if (changeWritten && m_lastCodeSent != 0)
            writeSerial(brightBaudFrame(m_unitDigit, static_cast<std::uint8_t>(m_lastCodeSent)),
                        record);
    } else {
        record.errors.push_back(opened);
        if (m_onError)
            m_onError(opened);
    }

    // The rate must not change under bytes still on the line.
    qint64 lineMs = 0;
    for (std::size_t i = before; i < record.writes.size(); ++i)
        lineMs += record.writes[i].result.transmitMs;
    PauseMs(std::max(scaled(SpeedChangePauseMs), static_cast<int>(lineMs)));
}

bool BaudChange::writeSerial(const Bytes& bytes, BaudChangeRecord& record)
{
    const SerialResult r = m_serial.writeDirect(bytes);
    record.writes.push_back({m_serial.baudRate(), bytes, r});
    if (r.ok())
        return true;
    record.errors.push_back(r);
    if (m_onError)
        m_onError(r);
    return false;
}

} // namespace led
