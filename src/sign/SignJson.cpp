#include "sign/SignJson.h"

#include "core/protocol/Bright.h"
#include "core/protocol/DeviceAnswers.h"
#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

namespace led {
namespace {

QString utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

QString hex(std::string_view bytes)
{
    return QString::fromStdString(hexText(bytes));
}

QJsonValue optionalInt(const std::optional<int>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject screenJson(int number, const StoredScreen& s)
{
    return {
        {QStringLiteral("number"), number},
        {QStringLiteral("width"), s.width},
        {QStringLiteral("stay"), s.stay},
        {QStringLiteral("entry"), s.entry},
        {QStringLiteral("split"), s.split},
        {QStringLiteral("speed"), s.speed},
        {QStringLiteral("exit"), s.exit},
        {QStringLiteral("text"), utf8(textForDisplay(s.text))},
        {QStringLiteral("textHex"), hex(s.text)},
        {QStringLiteral("attributes"), hex(s.attributes)},
        {QStringLiteral("padding"), s.padding},
    };
}

QJsonObject scheduleRowJson(int row, const DecodedScheduleRow& r)
{
    return {
        {QStringLiteral("row"), row},
        {QStringLiteral("hex"), hex(r.raw)},
        {QStringLiteral("inUse"), r.inUse},
        {QStringLiteral("day"), r.dayChoice},
        {QStringLiteral("weekdayCode"), r.weekdayCode},
        {QStringLiteral("hour"), r.hour},
        {QStringLiteral("minute"), r.minute},
        {QStringLiteral("first"), r.first},
        {QStringLiteral("last"), r.last},
    };
}

QJsonValue clockJson(const std::optional<SignClock>& c)
{
    if (!c)
        return QJsonValue::Null;
    return QJsonObject{
        {QStringLiteral("offsetSeconds"), static_cast<qint64>(c->offsetSeconds)},
        {QStringLiteral("sent"), utf8(c->sent)},
        {QStringLiteral("weekday"), c->weekday},
    };
}

QJsonValue insertJson(const std::optional<StoredInsert>& i)
{
    if (!i)
        return QJsonValue::Null;
    return QJsonObject{
        {QStringLiteral("slot"), i->slot},
        {QStringLiteral("count"), i->count},
        {QStringLiteral("automatic"), i->automatic},
        {QStringLiteral("text"), utf8(cp950ToUtf8(i->text))},
        {QStringLiteral("textHex"), hex(i->text)},
    };
}

QJsonValue newsJson(const std::optional<StoredNews>& n)
{
    if (!n)
        return QJsonValue::Null;
    QJsonArray items;
    for (const auto& item : n->items)
        items.append(utf8(cp950ToUtf8(item)));
    return QJsonObject{{QStringLiteral("count"), n->count}, {QStringLiteral("items"), items}};
}

QJsonObject brightnessJson(const BrightnessController& b)
{
    // Where the brightness dialog's slider would stand after the controller's reply.
    const auto reading = interpretBrightReply(brightReply(b.id, b.mode, b.level));
    return {
        {QStringLiteral("id"), QString(QChar::fromLatin1(b.id))},
        {QStringLiteral("mode"),
         b.mode == '2' ? QStringLiteral("automatic") : QStringLiteral("fixed")},
        {QStringLiteral("level"), b.level},
        {QStringLiteral("slider"), reading ? QJsonValue(reading->slider) : QJsonValue()},
        {QStringLiteral("baudCode"), optionalInt(b.baudCode)},
    };
}

QJsonObject countersJson(const SignCounters& c)
{
    return {
        {QStringLiteral("transmissions"), c.transmissions},
        {QStringLiteral("applied"), c.applied},
        {QStringLiteral("ignored"), c.ignored},
        {QStringLiteral("badChecks"), c.badChecks},
        {QStringLiteral("rejected"), c.rejected},
        {QStringLiteral("versionShown"), c.versionShown},
        {QStringLiteral("selfTests"), c.selfTests},
        {QStringLiteral("inserts"), c.inserts},
    };
}

} // namespace

QJsonObject signStateJson(const SignState& s)
{
    QJsonArray screens;
    for (const auto& [number, screen] : s.screens)
        screens.append(screenJson(number, screen));
    QJsonArray glyphs;
    for (const auto& [number, code] : s.glyphs)
        glyphs.append(
            QJsonObject{{QStringLiteral("number"), number}, {QStringLiteral("code"), hex(code)}});
    QJsonArray schedule;
    for (std::size_t i = 0; i < s.schedule.size(); ++i)
        schedule.append(scheduleRowJson(static_cast<int>(i) + 1, s.schedule[i]));

    return {
        {QStringLiteral("unit"), s.unit},
        {QStringLiteral("colour"),
         s.colourSet == SignColourMono ? QStringLiteral("mono") : QStringLiteral("colour")},
        {QStringLiteral("colourSet"), s.colourSet},
        {QStringLiteral("width"), s.width},
        {QStringLiteral("power"), s.power},
        {QStringLiteral("timer"), s.timer},
        {QStringLiteral("mode"), s.append ? QStringLiteral("append") : QStringLiteral("overwrite")},
        {QStringLiteral("baudCode"), optionalInt(s.baudCode)},
        {QStringLiteral("clock"), clockJson(s.clock)},
        {QStringLiteral("screens"), screens},
        {QStringLiteral("glyphs"), glyphs},
        {QStringLiteral("schedule"), schedule},
        {QStringLiteral("insert"), insertJson(s.lastInsert)},
        {QStringLiteral("news"), newsJson(s.news)},
        {QStringLiteral("brightness"), brightnessJson(s.brightness)},
        {QStringLiteral("counters"), countersJson(s.counters)},
    };
}

QByteArray signStateText(const SignState& s)
{
    return QJsonDocument(signStateJson(s)).toJson(QJsonDocument::Indented);
}

} // namespace led
