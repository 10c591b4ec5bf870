#pragma once

#include "core/protocol/Bright.h"
#include "core/protocol/DeviceServer.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace led {

// The other side of the line: what a serial device server and a brightness controller
// answer. The virtual sign and the tests use these; the program itself only parses them.

// A device server as it describes itself in its answers.
struct DeviceDescription
{
    DeviceIdentity identity{};
    Ipv4Address address{127, 0, 0, 1};
    SerialSettings serial{9600, 0x03}; // "9600,None,8,1"
    std::uint16_t tcpPort = 0;         // 0: no TCP port to tell, port queries go unanswered
};

enum class DeviceRequestKind
{
    Discovery,
    Poll,
    SerialSettingsQuery,
    PortQuery
};

struct DeviceRequest
{
    DeviceRequestKind kind = DeviceRequestKind::Discovery;
    DeviceIdentity identity{}; // queries only
};

// A datagram of the device search: its type byte, and a length byte that must equal the
// datagram's size; nothing for anything else.
std::optional<DeviceRequest> parseDeviceRequest(std::string_view datagram);

// Every answer starts with the request's type with bit 7 set, 00, 00 and its length.
// Search answer (24 bytes): the identity in bytes 5-20, the address in the last four.
Bytes searchAnswerDatagram(const DeviceDescription& d);
// Serial-settings answer (29 bytes): baud rate in bytes 25-26 (little-endian), the line
// settings byte in byte 29.
Bytes serialSettingsAnswerDatagram(const DeviceDescription& d);
// Port answer (28 bytes): the TCP port in bytes 27-28 (little-endian).
Bytes portAnswerDatagram(const DeviceDescription& d);

// What the device sends back for a datagram: queries naming another identity, a port query
// without a port, and datagrams that are no request get no answer.
std::optional<Bytes> answerDeviceRequest(std::string_view datagram, const DeviceDescription& d);

// The brightness controller's 12-byte reply: STX, "BRIGHT", unit digit, mode character,
// level byte, xorSum of those three, ETX.
Bytes brightReply(char unitDigit, char modeCharacter, std::uint8_t level);

} // namespace led
