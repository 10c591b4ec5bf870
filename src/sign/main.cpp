// ledcaption-sign: a virtual caption sign for testing the whole chain without hardware.

#include "core/protocol/DeviceAnswers.h"
#include "sign/ModemTransport.h"
#include "sign/PtyTransport.h"
#include "sign/Sign.h"
#include "sign/SignOptions.h"
#include "sign/SignalWatcher.h"
#include "sign/TcpTransport.h"
#include "sign/UdpTransport.h"

#include <QCoreApplication>

#include <csignal>
#include <iostream>
#include <memory>

namespace {

void print(const std::string& text)
{
    std::cout << text << std::flush;
}

void printLine(const QString& line)
{
    print(line.toStdString() + "\n");
}

int fail(const QString& what, const QString& why)
{
    std::cerr << what.toStdString() << ": " << why.toStdString() << "\n";
    return 1;
}

QString endpointText(const QHostAddress& host, quint16 port)
{
    const QString h = host.protocol() == QAbstractSocket::IPv6Protocol
                          ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
                          : host.toString();
    return h + QLatin1Char(':') + QString::number(port);
}

// Names this device server in the search: "ledcaption", then its TCP and UDP ports.
led::DeviceIdentity identityFor(quint16 tcpPort, quint16 udpPort)
{
    led::DeviceIdentity id{};
    const std::string_view name = "ledcaption";
    std::copy(name.begin(), name.end(), id.begin());
    id[12] = static_cast<std::uint8_t>(tcpPort & 0xFF);
    id[13] = static_cast<std::uint8_t>(tcpPort >> 8);
    id[14] = static_cast<std::uint8_t>(udpPort & 0xFF);
    id[15] = static_cast<std::uint8_t>(udpPort >> 8);
    return id;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = led::parseSignOptions(app.arguments(), &error);
    if (!options) {
        std::cerr << error.toStdString() << "\n\n" << led::signUsage();
        return 2;
    }
    if (options->help) {
        std::cout << led::signUsage();
        return 0;
    }

    led::SignState initial;
    initial.unit = options->unit;
    initial.colourSet = options->colourSet;
    initial.width = options->width;
    initial.brightness.id = options->brightId;
    led::Sign::Options signOptions;
    signOptions.statePath = options->statePath;
    if (options->log)
        signOptions.log = print;
    signOptions.warn = [](const std::string& text) { std::cerr << text << "\n"; };
    led::Sign sign{led::SignModel(initial), signOptions};
    if (!sign.writeState())
        return 1;

    // The serial line first: its path is the first line of output.
    std::unique_ptr<led::PtyTransport> pty;
    if (options->pty) {
        pty = std::make_unique<led::PtyTransport>(sign);
        if (!pty->open(&error))
            return fail(QStringLiteral("--pty"), error);
        printLine(QStringLiteral("pty: ") + pty->slaveName());
    }
    std::unique_ptr<led::ModemTransport> modem;
    if (options->modemPty) {
        modem = std::make_unique<led::ModemTransport>(sign, options->modemGuardMs);
        if (!modem->open(&error))
            return fail(QStringLiteral("--modem-pty"), error);
        printLine(QStringLiteral("modem: ") + modem->slaveName());
    }
    std::unique_ptr<led::TcpTransport> tcp;
    if (options->tcp) {
        tcp = std::make_unique<led::TcpTransport>(sign);
        if (!tcp->listen(options->tcp->host, options->tcp->port, &error))
            return fail(QStringLiteral("--tcp"), error);
        printLine(QStringLiteral("tcp: ") + endpointText(tcp->address(), tcp->port()));
    }
    std::unique_ptr<led::UdpTransport> udp;
    if (options->udp) {
        led::DeviceDescription device;
        if (tcp) {
            bool ipv4 = false;
            const quint32 a = tcp->address().toIPv4Address(&ipv4);
            if (ipv4)
                device.address = {static_cast<std::uint8_t>(a >> 24),
                                  static_cast<std::uint8_t>(a >> 16),
                                  static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a)};
            device.tcpPort = tcp->port();
        }
        udp = std::make_unique<led::UdpTransport>(device);
        if (!udp->bind(options->udp->host, options->udp->port, &error))
            return fail(QStringLiteral("--udp"), error);
        device.identity = identityFor(device.tcpPort, udp->port());
        udp->setDevice(device);
        printLine(QStringLiteral("udp: ") + endpointText(options->udp->host, udp->port()));
    }

    led::SignalWatcher stopper;
    if (!stopper.watch({SIGINT, SIGTERM}, &error))
        return fail(QStringLiteral("signal"), error);
    QObject::connect(&stopper, &led::SignalWatcher::caught, &app, &QCoreApplication::quit);
    printLine(QStringLiteral("ready"));

    app.exec();
    // What is still held on a line is taken as it is, and the state written once more.
    sign.flushLines();
    return sign.writeState() ? 0 : 1;
}
