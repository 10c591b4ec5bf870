#pragma once

#include "core/text/Big5.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace led {

class DeviceTable;

inline constexpr std::uint16_t DeviceSearchPort = 4800; // UDP, search and queries
inline constexpr std::uint16_t DeviceInitialTcpPort = 4900;
inline constexpr const char* DeviceSearchAddress = "255.255.255.255";
inline constexpr int DeviceIdentitySize = 16;

namespace texts {
inline constexpr const char* DifferentAddressGroup =
    "請輸入正確IP網址或你的IP不同群組,請將你的電腦IP設為同群組";
inline constexpr const char* AddressGroupFailed = "請輸入正確IP網址或你的IP不同群組";
inline constexpr const char* SearchingAgain = "IP重新搜尋中請稍待.............";
} // namespace texts

// Names a device server in the queries; all zero when no device was found for a row.
using DeviceIdentity = std::array<std::uint8_t, DeviceIdentitySize>;
using Ipv4Address = std::array<std::uint8_t, 4>;

// Every packet: type, 00, 00, total length, then its body.
Bytes discoveryPacket();
Bytes pollPacket();
Bytes serialSettingsQuery(const DeviceIdentity& id);
Bytes portQuery(const DeviceIdentity& id);

// Answers come off the network: a datagram too short for its fields, or one whose value
// cannot be meant (address 0.0.0.0 or 255.255.255.255, baud 0, port 0), gives nothing.
struct SearchAnswer
{
    DeviceIdentity identity{};
    Ipv4Address address{};
};
// Identity from bytes 5-20, address from the last four bytes; those must lie past the
// identity, which also keeps an echo of our own 20-byte poll out.
std::optional<SearchAnswer> parseSearchAnswer(std::string_view datagram);

struct SerialSettings
{
    std::uint16_t baud = 0;
    std::uint8_t line = 0; // bits 0-1 data bits - 5, bit 2 two stop bits, bits 3-5 parity
};
// Baud from bytes 25-26 (little-endian), line settings from byte 29.
std::optional<SerialSettings> parseSerialSettingsAnswer(std::string_view datagram);
// "9600,None,8,1": baud, parity (left out for the three unnamed codes), data and stop bits.
std::string serialSettingsText(const SerialSettings& s);

// TCP port from bytes 27-28 (little-endian).
std::optional<std::uint16_t> parsePortAnswer(std::string_view datagram);

std::string dottedAddress(const Ipv4Address& a);

// The device search, driven by a 20 ms timer: a discovery packet, 51 ticks that each send
// a poll and take at most one answer, then on the last tick the two queries for every
// found row, one more poll and its answer. The window sends each step's packet, takes
// datagrams as the step says, hands the outcome back and waits for the next tick after a
// step that ends one.
inline constexpr int SearchTickMs = 20;
inline constexpr int SearchPollTicks = 51;
inline constexpr int SearchQueryTries = 1001;

enum class SearchStepKind
{
    Discovery,
    Poll,
    SerialQuery,
    PortQuery,
    FinalPoll,
    Done
};

struct SearchStep
{
    SearchStepKind kind = SearchStepKind::Done;
    Bytes packet;          // sent before receiving; empty for Done
    int receiveTries = 0;  // receive attempts without waiting, until one datagram comes
    bool endsTick = false; // wait for the next tick after this step
    int row = 0;           // the table row (1..) a query is for
};

struct FoundDevice
{
    DeviceIdentity identity{};
    std::string address; // dotted decimal
    std::optional<std::string> serialSettings;
    std::optional<std::uint16_t> port;

    bool operator==(const FoundDevice&) const = default;
};

struct DeviceSearchState
{
    enum class Phase
    {
        Start,
        Polling,
        Querying,
        FinalPoll,
        Finished
    };
    Phase phase = Phase::Start;
    int tick = 0;     // polls taken so far
    int queryRow = 1; // the row the next query is for
    bool portNext = false;
    std::vector<FoundDevice> rows; // row 1 first, without gaps
};

SearchStep nextSearchStep(const DeviceSearchState& state);
// datagram: what the step received, nothing when no datagram came.
void applySearchStep(DeviceSearchState& state, const SearchStep& step,
                     std::optional<std::string_view> datagram);

// Writes what the search found into the table's IP, serial settings and PORT cells; cells
// of values not found are left as they are (the search cleared them at its start).
void writeSearchResults(const DeviceSearchState& state, DeviceTable& table);

// The address group of a row for opening its web page: the first three numbers of a
// dotted address, or nothing for a text that is no IPv4 address.
std::optional<std::array<int, 3>> addressGroup(std::string_view address);
// At most the first ten own addresses are looked at.
bool sameAddressGroup(std::string_view rowAddress, const std::vector<std::string>& ownAddresses);

} // namespace led
