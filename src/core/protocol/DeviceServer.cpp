#include "core/protocol/DeviceServer.h"

#include "core/document/DeviceTable.h"

#include <algorithm>

namespace led {

namespace {

constexpr std::uint8_t TypeDiscovery = 0x01;
constexpr std::uint8_t TypePoll = 0x16;
constexpr std::uint8_t TypeSerialQuery = 0x31;
constexpr std::uint8_t TypePortQuery = 0x47;

constexpr std::size_t IdentityOffset = 4; // bytes 5-20
constexpr std::size_t BaudOffset = 24;    // bytes 25-26
constexpr std::size_t LineOffset = 28;    // byte 29
constexpr std::size_t PortOffset = 26;    // bytes 27-28
constexpr std::size_t MaxOwnAddresses = 10;

Bytes packet(std::uint8_t type, std::string_view body)
{
    Bytes out{static_cast<char>(type), '\0', '\0', static_cast<char>(4 + body.size())};
    out += body;
    return out;
}

Bytes identityBytes(const DeviceIdentity& id)
{
    return Bytes(id.begin(), id.end());
}

std::uint8_t byteAt(std::string_view d, std::size_t i)
{
    return static_cast<std::uint8_t>(d[i]);
}

std::uint16_t littleEndian16(std::string_view d, std::size_t i)
{
    return static_cast<std::uint16_t>(byteAt(d, i) | byteAt(d, i + 1) << 8);
}

bool sameStep(const SearchStep& a, const SearchStep& b)
{
    return a.kind == b.kind && a.row == b.row;
}

void takeSearchAnswer(DeviceSearchState& state, std::optional<std::string_view> datagram)
{
    if (!datagram)
        return;
    const auto answer = parseSearchAnswer(*datagram);
    if (!answer || static_cast<int>(state.rows.size()) >= DeviceRowCount)
        return;
    FoundDevice device;
    device.identity = answer->identity;
    device.address = dottedAddress(answer->address);
    // A device that answers twice keeps one row, so it is not queried or sent to twice.
    const bool known = std::any_of(state.rows.begin(), state.rows.end(), [&](const auto& r) {
        return r.identity == device.identity && r.address == device.address;
    });
    if (!known)
        state.rows.push_back(std::move(device));
}

FoundDevice* foundRow(DeviceSearchState& state, int row)
{
    if (row < 1 || row > static_cast<int>(state.rows.size()))
        return nullptr;
    return &state.rows[static_cast<std::size_t>(row - 1)];
}

} // namespace

Bytes discoveryPacket()
{
    return packet(TypeDiscovery, Bytes(4, '\0'));
}

Bytes pollPacket()
{
    return packet(TypePoll,
                  Bytes("\x00\x00\x00\x00\x00\x41\x00\x80\x18\x41\x00\x90\xE8\x09\xE0\x8A", 16));
}

Bytes serialSettingsQuery(const DeviceIdentity& id)
{
    return packet(TypeSerialQuery, identityBytes(id) + Bytes("\x00\x01", 2));
}

Bytes portQuery(const DeviceIdentity& id)
{
    return packet(TypePortQuery, identityBytes(id) + Bytes(1, '\0'));
}

std::optional<SearchAnswer> parseSearchAnswer(std::string_view datagram)
{
    if (datagram.size() < IdentityOffset + DeviceIdentitySize + 4)
        return std::nullopt;
    SearchAnswer a;
    for (std::size_t i = 0; i < a.identity.size(); ++i)
        a.identity[i] = byteAt(datagram, IdentityOffset + i);
    const std::size_t at = datagram.size() - a.address.size();
    for (std::size_t i = 0; i < a.address.size(); ++i)
        a.address[i] = byteAt(datagram, at + i);
    // Neither can be a device's own address; such a datagram is not an answer.
    if (a.address == Ipv4Address{0, 0, 0, 0} || a.address == Ipv4Address{255, 255, 255, 255})
        return std::nullopt;
    return a;
}

std::optional<SerialSettings> parseSerialSettingsAnswer(std::string_view datagram)
{
    if (datagram.size() < LineOffset + 1)
        return std::nullopt;
    const SerialSettings s{littleEndian16(datagram, BaudOffset), byteAt(datagram, LineOffset)};
    if (s.baud == 0)
        return std::nullopt;
    return s;
}

std::string serialSettingsText(const SerialSettings& s)
{
    static constexpr const char* Parity[8] = {",None", ",Odd",  "", ",Even",
                                              "",      ",Mark", "", ",Space"};
    std::string out = std::to_string(s.baud);
    out += Parity[(s.line >> 3) & 0x07];
    out += "," + std::to_string((s.line & 0x03) + 5);
    out += (s.line & 0x04) ? ",2" : ",1";
    return out;
}

std::optional<std::uint16_t> parsePortAnswer(std::string_view datagram)
{
    if (datagram.size() < PortOffset + 2)
        return std::nullopt;
    const std::uint16_t port = littleEndian16(datagram, PortOffset);
    if (port == 0)
        return std::nullopt;
    return port;
}

std::string dottedAddress(const Ipv4Address& a)
{
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

SearchStep nextSearchStep(const DeviceSearchState& state)
{
    using Phase = DeviceSearchState::Phase;
    switch (state.phase) {
    case Phase::Start:
        return {SearchStepKind::Discovery, discoveryPacket(), 0, true, 0};
    case Phase::Polling:
        return {SearchStepKind::Poll, pollPacket(), 1, true, 0};
    case Phase::Querying: {
        // Row 1 is queried even when nothing answered the search: with an empty identity.
        const int r = state.queryRow;
        const DeviceIdentity id = r <= static_cast<int>(state.rows.size())
                                      ? state.rows[static_cast<std::size_t>(r - 1)].identity
                                      : DeviceIdentity{};
        if (state.portNext)
            return {SearchStepKind::PortQuery, portQuery(id), SearchQueryTries, false, r};
        return {SearchStepKind::SerialQuery, serialSettingsQuery(id), SearchQueryTries, false, r};
    }
    case Phase::FinalPoll:
        return {SearchStepKind::FinalPoll, pollPacket(), 1, false, 0};
    case Phase::Finished:
        break;
    }
    return {};
}

void applySearchStep(DeviceSearchState& state, const SearchStep& step,
                     std::optional<std::string_view> datagram)
{
    using Phase = DeviceSearchState::Phase;
    // A step that is not the one due (a stale or repeated call) changes nothing.
    if (!sameStep(step, nextSearchStep(state)))
        return;
    switch (step.kind) {
    case SearchStepKind::Discovery:
        state.phase = Phase::Polling;
        break;
    case SearchStepKind::Poll:
        takeSearchAnswer(state, datagram);
        if (++state.tick >= SearchPollTicks)
            state.phase = Phase::Querying;
        break;
    case SearchStepKind::SerialQuery:
        if (FoundDevice* d = foundRow(state, step.row); d && datagram)
            if (auto s = parseSerialSettingsAnswer(*datagram))
                d->serialSettings = serialSettingsText(*s);
        state.portNext = true;
        break;
    case SearchStepKind::PortQuery:
        if (FoundDevice* d = foundRow(state, step.row); d && datagram)
            if (auto p = parsePortAnswer(*datagram))
                d->port = *p;
        state.portNext = false;
        if (++state.queryRow > std::max<int>(1, static_cast<int>(state.rows.size())))
            state.phase = Phase::FinalPoll;
        break;
    case SearchStepKind::FinalPoll:
        takeSearchAnswer(state, datagram);
        state.phase = Phase::Finished;
        break;
    case SearchStepKind::Done:
        break;
    }
}

void writeSearchResults(const DeviceSearchState& state, DeviceTable& table)
{
    for (std::size_t i = 0; i < state.rows.size() && i < DeviceRowCount; ++i) {
        const FoundDevice& d = state.rows[i];
        DeviceRow& row = table.row(static_cast<int>(i) + 1);
        row.ip = d.address;
        if (d.serialSettings)
            row.serialSettings = *d.serialSettings;
        if (d.port)
            row.port = std::to_string(*d.port);
    }
}

std::optional<std::array<int, 3>> addressGroup(std::string_view address)
{
    while (!address.empty() && address.front() == ' ')
        address.remove_prefix(1);
    while (!address.empty() && address.back() == ' ')
        address.remove_suffix(1);
    std::array<int, 4> parts{};
    std::size_t part = 0, digits = 0;
    for (char c : address) {
        if (c == '.') {
            if (digits == 0 || ++part >= parts.size())
                return std::nullopt;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 3) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != 3 || digits == 0 ||
        std::any_of(parts.begin(), parts.end(), [](int p) { return p > 255; }))
        return std::nullopt;
    return std::array<int, 3>{parts[0], parts[1], parts[2]};
}

bool sameAddressGroup(std::string_view rowAddress, const std::vector<std::string>& ownAddresses)
{
    const auto group = addressGroup(rowAddress);
    if (!group)
        return false;
    const std::size_t n = std::min(ownAddresses.size(), MaxOwnAddresses);
    return std::any_of(ownAddresses.begin(), ownAddresses.begin() + static_cast<long>(n),
                       [&](const std::string& own) { return addressGroup(own) == group; });
}

} // namespace led
