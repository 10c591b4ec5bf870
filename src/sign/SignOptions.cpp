#include "sign/SignOptions.h"

#include <QCommandLineParser>

namespace led {
namespace {

std::optional<int> intInRange(const QString& text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

} // namespace

const char* signUsage()
{
    return R"(用法: ledcaption-sign [選項]

虛擬字幕機: 解讀送來的每段傳輸，保存字幕機的狀態。

  --tcp HOST:PORT     當作單點伺服器，在 loopback 上接受 TCP 連線 (PORT 0 自選)
  --pty               在新的虛擬終端機上當作串列埠 (印出 pty: 裝置路徑)
  --modem-pty         在另一個虛擬終端機上模擬 Hayes 數據機 (印出 modem: 裝置路徑)
  --udp HOST:PORT     回答單點伺服器的搜尋與查詢 (loopback)
  --unit N            台號 0–255 (預設 0)
  --colour mono|colour  單色或彩色字幕機 (預設 colour)
  --width W           字數 1–255 (預設 10)
  --bright-id D       亮度控制器的 ID 0–9 (預設 1)
  --modem-guard MS    數據機 +++ 前後須靜止的毫秒數 (預設 1000)
  --state FILE.json   每段傳輸後寫入狀態檔
  --log               列出每段傳輸的內容

每個通道就緒時印出一行 (pty:、modem:、tcp:、udp:)，全部就緒後印出 ready。
SIGINT 或 SIGTERM 時寫入最後的狀態後結束。
)";
}

std::optional<Endpoint> parseEndpoint(const QString& text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    Endpoint e;
    e.host = host == QStringLiteral("localhost") ? QHostAddress(QHostAddress::LocalHost)
                                                 : QHostAddress(host);
    const auto port = intInRange(text.mid(colon + 1), 0, 65535);
    if (e.host.isNull() || !e.host.isLoopback() || !port)
        return std::nullopt;
    e.port = static_cast<quint16>(*port);
    return e;
}

std::optional<SignOptions> parseSignOptions(const QStringList& arguments, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<SignOptions> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QCommandLineParser parser;
    const QCommandLineOption tcp(QStringLiteral("tcp"), QString(), QStringLiteral("HOST:PORT"));
    const QCommandLineOption udp(QStringLiteral("udp"), QString(), QStringLiteral("HOST:PORT"));
    const QCommandLineOption pty(QStringLiteral("pty"));
    const QCommandLineOption modem(QStringLiteral("modem-pty"));
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("N"));
    const QCommandLineOption colour(QStringLiteral("colour"), QString(), QStringLiteral("TYPE"));
    const QCommandLineOption width(QStringLiteral("width"), QString(), QStringLiteral("W"));
    const QCommandLineOption brightId(QStringLiteral("bright-id"), QString(), QStringLiteral("D"));
    const QCommandLineOption guard(QStringLiteral("modem-guard"), QString(), QStringLiteral("MS"));
    const QCommandLineOption state(QStringLiteral("state"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption log(QStringLiteral("log"));
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    parser.addOptions(
        {tcp, udp, pty, modem, unit, colour, width, brightId, guard, state, log, help});
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("多餘的參數: ") + parser.positionalArguments().first());

    SignOptions o;
    o.help = parser.isSet(help);
    if (o.help)
        return o;
    if (parser.isSet(tcp) && !(o.tcp = parseEndpoint(parser.value(tcp))))
        return fail(QStringLiteral("--tcp 須為 loopback 的 HOST:PORT: ") + parser.value(tcp));
    if (parser.isSet(udp) && !(o.udp = parseEndpoint(parser.value(udp))))
        return fail(QStringLiteral("--udp 須為 loopback 的 HOST:PORT: ") + parser.value(udp));
    o.pty = parser.isSet(pty);
    o.modemPty = parser.isSet(modem);
    if (!o.tcp && !o.udp && !o.pty && !o.modemPty)
        return fail(QStringLiteral("沒有通道: 請給 --tcp、--pty、--modem-pty 或 --udp"));
    if (parser.isSet(unit)) {
        const auto v = intInRange(parser.value(unit), 0, 255);
        if (!v)
            return fail(QStringLiteral("--unit 須為 0–255: ") + parser.value(unit));
        o.unit = *v;
    }
    if (parser.isSet(colour)) {
        const QString c = parser.value(colour);
        if (c == QStringLiteral("mono"))
            o.colourSet = 1;
        else if (c == QStringLiteral("colour") || c == QStringLiteral("color"))
            o.colourSet = 2;
        else
            return fail(QStringLiteral("--colour 須為 mono 或 colour: ") + c);
    }
    if (parser.isSet(width)) {
        const auto v = intInRange(parser.value(width), 1, 255);
        if (!v)
            return fail(QStringLiteral("--width 須為 1–255: ") + parser.value(width));
        o.width = *v;
    }
    if (parser.isSet(brightId)) {
        const auto v = intInRange(parser.value(brightId), 0, 9);
        if (!v || parser.value(brightId).size() != 1)
            return fail(QStringLiteral("--bright-id 須為一個數字 0–9: ") + parser.value(brightId));
        o.brightId = static_cast<char>('0' + *v);
    }
    if (parser.isSet(guard)) {
        const auto v = intInRange(parser.value(guard), 0, 60000);
        if (!v)
            return fail(QStringLiteral("--modem-guard 須為 0–60000 毫秒: ") + parser.value(guard));
        o.modemGuardMs = *v;
    }
    o.statePath = parser.value(state);
    o.log = parser.isSet(log);
    return o;
}

} // namespace led
