#pragma once

#include "sign/SignModel.h"
#include "sign/StreamAssembler.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string_view>

namespace led {

class Sign;

// One line into the sign (a TCP connection, a serial line, a modem call): gathers its
// bytes into transmissions and writes the sign's answers back. A transmission is taken
// when its closing frame has come, or after IdleMs without a byte, or when the line closes.
// The sign outlives its lines.
class SignLine : public QObject
{
    Q_OBJECT

public:
    using Writer = std::function<void(std::string_view)>;

    // Long enough for a writer that hands over a transmission in a few pieces, short enough
    // that a lost closing frame does not hold up the next transmission noticeably.
    static constexpr int IdleMs = 150;

    SignLine(Sign& sign, Writer writer, QObject* parent = nullptr);
    ~SignLine() override;

    void receive(std::string_view bytes);
    // Hands what is held to the sign as it is.
    void flush();

private:
    void take(const Bytes& bytes);

    Sign& m_sign;
    Writer m_write;
    StreamAssembler m_assembler;
    LineAddressing m_addressing;
    QTimer m_idle;
};

} // namespace led
