#include "core/protocol/DeviceAnswers.h"

namespace led {
namespace {

constexpr std::uint8_t TypeDiscovery = 0x01;
constexpr std::uint8_t TypePoll = 0x16;
constexpr std::uint8_t TypeSerialQuery = 0x31;
constexpr std::uint8_t TypePortQuery = 0x47;
constexpr std::uint8_t AnswerBit = 0x80;

constexpr std::size_t HeadSize = 4;
constexpr std::size_t SearchAnswerSize = HeadSize + DeviceIdentitySize + 4;
constexpr std::size_t SerialAnswerSize = 29;
constexpr std::size_t PortAnswerSize = 28;
constexpr std::size_t BaudAt = 24; // bytes 25-26
constexpr std::size_t LineAt = 28; // byte 29
constexpr std::size_t PortAt = 26; // bytes 27-28

// A zero-filled answer of the given size with its head and the identity in place.
Bytes answer(std::uint8_t requestType, std::size_t size, const DeviceIdentity& id)
{
    Bytes out(size, '\0');
    out[0] = static_cast<char>(requestType | AnswerBit);
    out[3] = static_cast<char>(size);
    for (std::size_t i = 0; i < id.size(); ++i)
        out[HeadSize + i] = static_cast<char>(id[i]);
    return out;
}

void putLittleEndian16(Bytes& out, std::size_t at, std::uint16_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

} // namespace

std::optional<DeviceRequest> parseDeviceRequest(std::string_view datagram)
{
    if (datagram.size() < HeadSize || static_cast<std::uint8_t>(datagram[3]) != datagram.size())
        return std::nullopt;
    DeviceRequest r;
    switch (static_cast<std::uint8_t>(datagram[0])) {
    case TypeDiscovery:
        r.kind = DeviceRequestKind::Discovery;
        return r;
    case TypePoll:
        r.kind = DeviceRequestKind::Poll;
        return r;
    case TypeSerialQuery:
        r.kind = DeviceRequestKind::SerialSettingsQuery;
        break;
    case TypePortQuery:
        r.kind = DeviceRequestKind::PortQuery;
        break;
    default:
        return std::nullopt;
    }
    if (datagram.size() < HeadSize + DeviceIdentitySize)
        return std::nullopt;
    for (std::size_t i = 0; i < r.identity.size(); ++i)
        r.identity[i] = static_cast<std::uint8_t>(datagram[HeadSize + i]);
    return r;
}

Bytes searchAnswerDatagram(const DeviceDescription& d)
{
    Bytes out = answer(TypePoll, SearchAnswerSize, d.identity);
    for (std::size_t i = 0; i < d.address.size(); ++i)
        out[SearchAnswerSize - d.address.size() + i] = static_cast<char>(d.address[i]);
    return out;
}

Bytes serialSettingsAnswerDatagram(const DeviceDescription& d)
{
    Bytes out = answer(TypeSerialQuery, SerialAnswerSize, d.identity);
    putLittleEndian16(out, BaudAt, d.serial.baud);
    out[LineAt] = static_cast<char>(d.serial.line);
    return out;
}

Bytes portAnswerDatagram(const DeviceDescription& d)
{
    Bytes out = answer(TypePortQuery, PortAnswerSize, d.identity);
    putLittleEndian16(out, PortAt, d.tcpPort);
    return out;
}

std::optional<Bytes> answerDeviceRequest(std::string_view datagram, const DeviceDescription& d)
{
    const auto request = parseDeviceRequest(datagram);
    if (!request)
        return std::nullopt;
    switch (request->kind) {
    case DeviceRequestKind::Discovery:
    case DeviceRequestKind::Poll:
        return searchAnswerDatagram(d);
    case DeviceRequestKind::SerialSettingsQuery:
        if (request->identity != d.identity)
            return std::nullopt;
        return serialSettingsAnswerDatagram(d);
    case DeviceRequestKind::PortQuery:
        if (request->identity != d.identity || d.tcpPort == 0)
            return std::nullopt;
        return portAnswerDatagram(d);
    }
    return std::nullopt;
}

Bytes brightReply(char unitDigit, char modeCharacter, std::uint8_t level)
{
    return brightFrame(Bytes{unitDigit, modeCharacter, static_cast<char>(level)});
}

} // namespace led
