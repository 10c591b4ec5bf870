#include "link/ModemTransfer.h"

#include "core/protocol/BaudRates.h"
#include "link/Waiting.h"

#include <algorithm>
#include <cmath>

namespace led {
namespace {

const QByteArray OkAnswer("OK");
const QByteArray ConnectAnswer("CONNECT");

} // namespace

Bytes modemDialCommand(std::string_view phone)
{
    Bytes number(ModemPhoneLength, ' ');
    for (std::size_t i = 0; i < number.size() && i < phone.size(); ++i)
        if (phone[i] >= '0' && phone[i] <= '9')
            number[i] = phone[i];
    return "ATDT " + number + "\r";
}

ModemTransfer::ModemTransfer(SerialLink& serial) : m_serial(serial) {}

void ModemTransfer::message(ModemOutcome& outcome, const char* text)
{
    const QString t = QString::fromUtf8(text);
    outcome.messages << t;
    if (m_onMessage)
        m_onMessage(t);
}

void ModemTransfer::write(ModemOutcome& outcome, const Bytes& bytes)
{
    const SerialResult r = m_serial.writeDirect(bytes);
    if (!r.ok())
        outcome.errors.push_back(r);
}

void ModemTransfer::pause(int ms)
{
    PauseMs(static_cast<int>(std::lround(ms * std::max(0.0, m_timeScale))));
}

ModemOutcome ModemTransfer::run(std::string_view phone, int baudIndex, bool tempset,
                                const UploadBytes& upload)
{
    ModemOutcome outcome;
    message(outcome, texts::ModemConnecting);

    // A fresh open drops whatever state the line was left in.
    m_serial.close();
    pause(ResetPauseMs);
    m_serial.setBaudRate(baudRateForIndex(baudIndex));
    outcome.port = m_serial.open();
    if (!outcome.port.ok()) {
        outcome.errors.push_back(outcome.port);
        message(outcome, texts::ModemFailed);
        return outcome;
    }

    const auto answerMs = [this](int ticks) {
        return static_cast<int>(
            std::lround(ticks * SerialLink::ModemTickMs * std::max(0.0, m_timeScale)));
    };
    write(outcome, "ATZ\r");
    outcome.resetAnswered = m_serial.waitForTextMs(OkAnswer, answerMs(InitAnswerTicks));
    if (outcome.resetAnswered) {
        write(outcome, "ATX1\r");
        outcome.dialectAnswered = m_serial.waitForTextMs(OkAnswer, answerMs(InitAnswerTicks));
    }
    pause(AfterInitPauseMs);

    write(outcome, modemDialCommand(phone));
    outcome.connected = m_serial.waitForTextMs(ConnectAnswer, answerMs(DialAnswerTicks));
    if (outcome.connected) {
        pause(BeforeUploadPauseMs);
        message(outcome, texts::ModemSending);
        const Bytes bytes = upload ? upload() : Bytes();
        bool sent = true;
        if (!bytes.empty()) {
            outcome.upload = m_serial.sendCom(bytes, baudIndex, tempset);
            sent = outcome.upload->ok();
            if (!sent) {
                outcome.errors.push_back(*outcome.upload);
                if (m_onUploadError)
                    m_onUploadError(*outcome.upload);
            }
        }
        if (sent)
            message(outcome, texts::ModemDone);
        pause(AfterUploadPauseMs);
    } else {
        message(outcome, texts::ModemFailed);
    }
    hangUp(outcome);
    return outcome;
}

void ModemTransfer::hangUp(ModemOutcome& outcome)
{
    write(outcome, "+");
    pause(EscapeGapMs);
    write(outcome, "+");
    pause(EscapeGapMs);
    write(outcome, "+");
    pause(EscapeGuardMs);
    write(outcome, "ATH0\r");
    pause(HangUpPauseMs);
}

} // namespace led
