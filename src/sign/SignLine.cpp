#include "sign/SignLine.h"

#include "sign/Sign.h"

namespace led {

SignLine::SignLine(Sign& sign, Writer writer, QObject* parent)
    : QObject(parent), m_sign(sign), m_write(std::move(writer))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(IdleMs);
    connect(&m_idle, &QTimer::timeout, this, &SignLine::flush);
    m_sign.m_lines.insert(this);
}

SignLine::~SignLine()
{
    m_sign.m_lines.erase(this);
}

void SignLine::receive(std::string_view bytes)
{
    const Bytes complete = m_assembler.feed(bytes);
    if (!complete.empty())
        take(complete);
    if (m_assembler.empty())
        m_idle.stop();
    else
        m_idle.start();
}

void SignLine::flush()
{
    m_idle.stop();
    const Bytes rest = m_assembler.flush();
    if (!rest.empty())
        take(rest);
}

void SignLine::take(const Bytes& bytes)
{
    for (const Bytes& reply : m_sign.take(bytes, m_addressing))
        if (m_write)
            m_write(reply);
}

} // namespace led
