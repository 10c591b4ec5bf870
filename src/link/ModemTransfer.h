#pragma once

#include "core/text/Big5.h"
#include "link/SerialLink.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>

namespace led {

namespace texts {
inline constexpr const char* ModemConnecting = "連線中，請稍待....";
inline constexpr const char* ModemSending = "正在傳送資料";
inline constexpr const char* ModemDone = "傳送完成！";
inline constexpr const char* ModemFailed = "連線失敗！無法連線到數據機。";
} // namespace texts

inline constexpr int ModemPhoneLength = 15;

// "ATDT ", the fifteen characters of the phone field, CR. Anything but a digit becomes a
// blank and the field is padded or cut to fifteen, so the number cannot carry a command.
Bytes modemDialCommand(std::string_view phone);

struct ModemOutcome
{
    SerialResult port;            // resetting and opening the port
    bool resetAnswered = false;   // "OK" to ATZ
    bool dialectAnswered = false; // "OK" to ATX1
    bool connected = false;
    std::optional<SerialResult> upload; // when connected and there was something to send
    std::vector<SerialResult> errors;   // every failed write, in order
    QStringList messages;               // the message panel's texts, in order
};

// Dials a Hayes modem on the serial line, sends the upload when it connects and hangs up
// in every case. Waits let events run; the window keeps its buttons disabled meanwhile.
class ModemTransfer
{
public:
    using UploadBytes = std::function<Bytes()>;
    using MessageHandler = std::function<void(const QString&)>;
    using ErrorHandler = std::function<void(const SerialResult&)>;

    static constexpr int ResetPauseMs = 1000;
    static constexpr int InitAnswerTicks = 36;
    static constexpr int DialAnswerTicks = 545;
    static constexpr int AfterInitPauseMs = 500;
    static constexpr int BeforeUploadPauseMs = 500;
    static constexpr int AfterUploadPauseMs = 4000;
    static constexpr int EscapeGapMs = 200;
    static constexpr int EscapeGuardMs = 2000;
    static constexpr int HangUpPauseMs = 2000;

    explicit ModemTransfer(SerialLink& serial);

    void setMessageHandler(MessageHandler handler) { m_onMessage = std::move(handler); }
    // The upload's write failed; the window reports it as any serial write failure.
    void setUploadErrorHandler(ErrorHandler handler) { m_onUploadError = std::move(handler); }
    // Scales every pause and answer time-out; 1.0 keeps the modem's own timing.
    void setTimeScale(double scale) { m_timeScale = scale; }

    // upload builds the transmission once the modem has connected; an empty result sends
    // nothing (the transmission went to a file instead).
    ModemOutcome run(std::string_view phone, int baudIndex, bool tempset,
                     const UploadBytes& upload);

private:
    void message(ModemOutcome& outcome, const char* text);
    void write(ModemOutcome& outcome, const Bytes& bytes);
    void pause(int ms);
    void hangUp(ModemOutcome& outcome);

    SerialLink& m_serial;
    MessageHandler m_onMessage;
    ErrorHandler m_onUploadError;
    double m_timeScale = 1.0;
};

} // namespace led
