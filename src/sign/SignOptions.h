#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace led {

struct Endpoint
{
    QHostAddress host;
    quint16 port = 0;
};

struct SignOptions
{
    std::optional<Endpoint> tcp;
    std::optional<Endpoint> udp;
    bool pty = false;
    bool modemPty = false;
    int unit = 0;
    int colourSet = 2;
    int width = 10;
    char brightId = '1';
    std::int64_t modemGuardMs = 1000;
    QString statePath;
    bool log = false;
    bool help = false;
};

// "HOST:PORT", "[::1]:PORT" or "localhost:PORT"; the host must be a loopback address.
std::optional<Endpoint> parseEndpoint(const QString& text);

// The program's arguments (the program name first). Nothing, with the reason in *error,
// for an unknown option, a bad value or no line to listen on.
std::optional<SignOptions> parseSignOptions(const QStringList& arguments, QString* error);

// The usage text (UTF-8).
const char* signUsage();

} // namespace led
