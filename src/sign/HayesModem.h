#pragma once

#include "core/text/Big5.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace led {

// A Hayes modem with a sign on the far end of the telephone line. In command mode it
// answers "OK" to AT commands and "CONNECT 2400" to a dial; in data mode it passes the
// bytes on. "+++" brings it back to command mode only with a quiet guard time before and
// after it, as a Hayes modem does, so the same three bytes inside the data (a glyph, an
// insert text) are passed on. Times are milliseconds of any steady clock.
class HayesModem
{
public:
    static constexpr std::int64_t DefaultGuardMs = 1000;
    static constexpr std::size_t LineLimit = 256; // longer command lines are dropped
    static constexpr std::string_view Ok = "OK\r\n";
    static constexpr std::string_view Connect = "CONNECT 2400\r\n";
    static constexpr std::string_view NoCarrier = "NO CARRIER\r\n";

    explicit HayesModem(std::int64_t guardMs = DefaultGuardMs) : m_guardMs(guardMs) {}

    struct Output
    {
        Bytes toSign; // data for the sign
        Bytes toLine; // the modem's answers
    };

    Output feed(std::string_view bytes, std::int64_t nowMs);
    // Called at or after escapeDue(): ends a pending escape.
    Output expire(std::int64_t nowMs);
    // When expire() has something to decide: a guard time ending.
    std::optional<std::int64_t> escapeDue() const;

    bool online() const { return m_online; } // data mode
    bool connected() const { return m_connected; }

private:
    void command(std::string_view line, std::int64_t nowMs, Output& out);
    void dataByte(char b, std::int64_t nowMs, Output& out);
    void releasePluses(Output& out);

    std::int64_t m_guardMs;
    bool m_online = false;
    bool m_connected = false;
    Bytes m_line;
    std::int64_t m_lastByteMs = 0;
    std::int64_t m_lastPlusMs = 0;
    int m_pluses = 0; // held back: maybe an escape
};

} // namespace led
