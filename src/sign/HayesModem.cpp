#include "sign/HayesModem.h"

#include <algorithm>
#include <cctype>

namespace led {
namespace {

constexpr char EscapeChar = '+';
constexpr int EscapeLength = 3;

Bytes upper(std::string_view s)
{
    Bytes out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

} // namespace

HayesModem::Output HayesModem::feed(std::string_view bytes, std::int64_t nowMs)
{
    Output out = expire(nowMs);
    for (const char b : bytes) {
        if (m_online) {
            dataByte(b, nowMs, out);
            continue;
        }
        if (b == '\r') {
            command(m_line, nowMs, out);
            m_line.clear();
        } else if (b != '\n' && m_line.size() < LineLimit) {
            m_line += b;
        }
    }
    return out;
}

void HayesModem::dataByte(char b, std::int64_t nowMs, Output& out)
{
    const bool quietBefore = nowMs - m_lastByteMs >= m_guardMs;
    m_lastByteMs = nowMs;
    if (m_pluses > 0 && (b != EscapeChar || m_pluses == EscapeLength))
        releasePluses(out);
    if (b == EscapeChar && (m_pluses > 0 || quietBefore)) {
        ++m_pluses;
        m_lastPlusMs = nowMs;
        return;
    }
    out.toSign += b;
}

void HayesModem::releasePluses(Output& out)
{
    out.toSign.append(static_cast<std::size_t>(m_pluses), EscapeChar);
    m_pluses = 0;
}

std::optional<std::int64_t> HayesModem::escapeDue() const
{
    if (!m_online || m_pluses == 0)
        return std::nullopt;
    return m_lastPlusMs + m_guardMs;
}

HayesModem::Output HayesModem::expire(std::int64_t nowMs)
{
    Output out;
    const auto due = escapeDue();
    if (!due || nowMs < *due)
        return out;
    if (m_pluses == EscapeLength) {
        m_pluses = 0;
        m_online = false;
        out.toLine += Ok;
    } else {
        releasePluses(out); // one or two: data after all
    }
    return out;
}

void HayesModem::command(std::string_view line, std::int64_t nowMs, Output& out)
{
    // Whatever stands before "AT" (the "+++" of a hang-up in command mode) is noise.
    const Bytes text = upper(line);
    const std::size_t at = text.find("AT");
    if (at == Bytes::npos)
        return;
    const std::string_view cmd = std::string_view(text).substr(at + 2);
    if (cmd.starts_with('D')) {
        m_connected = m_online = true;
        m_lastByteMs = nowMs;
        m_pluses = 0;
        out.toLine += Connect;
        return;
    }
    if (cmd.starts_with('H')) {
        m_connected = false;
    } else if (cmd.starts_with('O')) {
        if (!m_connected) {
            out.toLine += NoCarrier;
            return;
        }
        m_online = true;
        m_lastByteMs = nowMs;
        out.toLine += Connect;
        return;
    }
    out.toLine += Ok;
}

} // namespace led
