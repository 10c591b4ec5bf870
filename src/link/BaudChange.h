#pragma once

#include "core/document/Settings.h"
#include "core/text/Big5.h"
#include "link/SerialLink.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace led {

// One write of a baud-rate change: the line rate it went out at (0 over the network).
struct BaudChangeWrite
{
    int baud = 0;
    Bytes bytes;
    SerialResult result;
};

struct BaudChangeRecord
{
    int baudIndex = 0;
    QString statusText;                   // status panel 5, "9600BPS"
    std::optional<std::uint8_t> codeSent; // nothing for the rates the signs cannot take
    std::vector<BaudChangeWrite> writes;
    std::vector<SerialResult> errors;
    int finalBaud = 0; // the serial line's rate afterwards, 0 when it was left alone
};

// The baud-rate menu: tells the signs (and the brightness controller) the new rate.
// Over the network the change goes six times through the given send function; on the
// serial line it is sent once at each rate the signs may be listening on.
class BaudChange
{
public:
    using NetSend = std::function<void(const Bytes&)>;
    using ErrorHandler = std::function<void(const SerialResult&)>;

    static constexpr int NetworkRepeats = 6;
    static constexpr int SpeedChangePauseMs = 500;
    static constexpr int SweepPauseMs = 100;

    explicit BaudChange(SerialLink& serial);

    void setNetworkSend(NetSend send) { m_netSend = std::move(send); }
    // Called at the failing step, so the window can ask for another port before the
    // sweep goes on.
    void setSerialErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }
    // The brightness dialog's "ID:" digit, '0'..'9'.
    void setBrightUnitDigit(char digit) { m_unitDigit = digit; }
    // 1.0 keeps the pauses as they are; tests shorten them.
    void setTimeScale(double scale) { m_timeScale = scale; }
    int lastCodeSent() const { return m_lastCodeSent; }

    // The handler of the fourteen baud items; tag is the item's baud index. Sets the
    // baud index of the settings; the port setting chooses the network or the serial line,
    // which must already name the port's device.
    BaudChangeRecord SendSpeed2400Click(int tag, TSystemparameter& s);

    // One step of the serial sweep at the line's current rate.
    void speedchange(TSystemparameter& s, std::uint8_t code, BaudChangeRecord& record);

private:
    bool writeSerial(const Bytes& bytes, BaudChangeRecord& record);
    int scaled(int ms) const;

    SerialLink& m_serial;
    NetSend m_netSend;
    ErrorHandler m_onError;
    char m_unitDigit = '1';
    double m_timeScale = 1.0;
    int m_lastCodeSent = 0;
};

} // namespace led
