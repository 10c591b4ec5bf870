#include "sign/Sign.h"

#include "core/document/FileIO.h"
#include "core/protocol/Frames.h"
#include "sign/SignJson.h"
#include "sign/SignLine.h"

#include <QDateTime>

namespace led {

LocalSeconds hostClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    return LocalSeconds{std::chrono::seconds{now.toSecsSinceEpoch() + now.offsetFromUtc()}};
}

Sign::Sign(SignModel model, Options options, QObject* parent)
    : QObject(parent), m_model(std::move(model)), m_options(std::move(options))
{
    if (!m_options.clock)
        m_options.clock = hostClock;
}

std::vector<Bytes> Sign::take(std::string_view bytes, LineAddressing& line)
{
    const std::vector<Transmission> decoded = decodeTransmissions(bytes);
    std::vector<Bytes> replies;
    const LocalSeconds now = m_options.clock();
    for (const Transmission& t : decoded) {
        auto more = m_model.apply(t, now, line);
        replies.insert(replies.end(), more.begin(), more.end());
    }
    if (m_options.log) {
        std::string text = formatListing(decoded);
        for (const Bytes& r : replies)
            text += "回覆 " + hexText(r) + "\n";
        m_options.log(text);
    }
    writeState();
    emit taken();
    return replies;
}

bool Sign::writeState()
{
    if (m_options.statePath.isEmpty())
        return true;
    const QByteArray text = signStateText(m_model.state());
    const FileResult r = writeFileAtomic(m_options.statePath.toStdString(),
                                         std::string_view(text.constData(), text.size()));
    if (!r) {
        const std::string message =
            "無法寫入狀態檔 " + m_options.statePath.toStdString() + "\n" + r.error;
        if (m_options.warn)
            m_options.warn(message);
        else
            qWarning("%s", message.c_str());
    }
    return r.ok;
}

void Sign::note(const std::string& text)
{
    if (m_options.log)
        m_options.log(text + "\n");
}

void Sign::flushLines()
{
    const std::set<SignLine*> lines = m_lines;
    for (SignLine* line : lines)
        line->flush();
}

} // namespace led
