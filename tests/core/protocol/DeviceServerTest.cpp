#include "core/protocol/DeviceServer.h"
#include "core/document/DeviceTable.h"
#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace led {
namespace {

// A datagram of the given size, zero-filled, with bytes set by their number counted from 1.
Bytes datagram(std::size_t size, std::initializer_list<std::pair<std::size_t, int>> bytes)
{
    Bytes d(size, '\0');
    for (const auto& [number, value] : bytes)
        d[number - 1] = static_cast<char>(value);
    return d;
}

DeviceIdentity identity(std::uint8_t first)
{
    DeviceIdentity id{};
    for (std::size_t i = 0; i < id.size(); ++i)
        id[i] = static_cast<std::uint8_t>(first + i);
    return id;
}

Bytes searchAnswer(const DeviceIdentity& id, Ipv4Address address, std::size_t size = 32)
{
    Bytes d(size, '\x5A');
    std::copy(id.begin(), id.end(), d.begin() + 4);
    std::copy(address.begin(), address.end(), d.end() - 4);
    return d;
}

Bytes serialAnswer(int baudLow, int baudHigh, int line)
{
    return datagram(40, {{25, baudLow}, {26, baudHigh}, {29, line}});
}

Bytes portAnswer(int low, int high)
{
    return datagram(40, {{27, low}, {28, high}});
}

TEST(DeviceServer, Packets)
{
    const DeviceIdentity id = identity(0x10);
    const Bytes idBytes(id.begin(), id.end());
    struct Case
    {
        const char* name;
        Bytes packet;
        Bytes expected;
    } cases[] = {
        {"discovery", discoveryPacket(), Bytes("\x01\x00\x00\x08\x00\x00\x00\x00", 8)},
        {"poll", pollPacket(),
         Bytes("\x16\x00\x00\x14\x00\x00\x00\x00\x00\x41\x00\x80\x18\x41\x00\x90\xE8\x09\xE0\x8A",
               20)},
        {"serial settings query", serialSettingsQuery(id),
         Bytes("\x31\x00\x00\x16", 4) + idBytes + Bytes("\x00\x01", 2)},
        {"port query", portQuery(id), Bytes("\x47\x00\x00\x15", 4) + idBytes + Bytes(1, '\0')},
        {"query for nobody", portQuery(DeviceIdentity{}),
         Bytes("\x47\x00\x00\x15", 4) + Bytes(17, '\0')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.packet, c.expected) << c.name;
        EXPECT_EQ(static_cast<std::uint8_t>(c.packet[3]), c.packet.size()) << c.name;
    }
}

TEST(DeviceServer, SerialSettingsAnswers)
{
    struct Case
    {
        int baudLow, baudHigh, line;
        const char* text;
    } cases[] = {
        {0x80, 0x25, 0x03, "9600,None,8,1"},  {0x80, 0x25, 0x1B, "9600,Even,8,1"},
        {0x80, 0x25, 0x0C, "9600,Odd,5,2"},   {0x80, 0x25, 0x10, "9600,5,1"},
        {0x80, 0x25, 0x2B, "9600,Mark,8,1"},  {0x80, 0x25, 0x3F, "9600,Space,8,2"},
        {0x80, 0x25, 0x30, "9600,5,1"},       {0x60, 0x09, 0x06, "2400,None,7,2"},
        {0x00, 0xE1, 0xC3, "57600,None,8,1"}, // bits 6-7 carry nothing
    };
    for (const auto& c : cases) {
        const auto s = parseSerialSettingsAnswer(serialAnswer(c.baudLow, c.baudHigh, c.line));
        ASSERT_TRUE(s) << c.text;
        EXPECT_EQ(serialSettingsText(*s), c.text);
    }
}

TEST(DeviceServer, PortAndSearchAnswers)
{
    EXPECT_EQ(parsePortAnswer(portAnswer(0xA1, 0x0F)), 4001);
    EXPECT_EQ(parsePortAnswer(portAnswer(0xFF, 0xFF)), 65535);
    EXPECT_FALSE(parsePortAnswer(portAnswer(0, 0)));
    EXPECT_FALSE(parseSerialSettingsAnswer(serialAnswer(0, 0, 0x03)));
    EXPECT_FALSE(parseSearchAnswer(searchAnswer(identity(1), {0, 0, 0, 0})));
    EXPECT_FALSE(parseSearchAnswer(searchAnswer(identity(1), {255, 255, 255, 255})));

    const Bytes d = searchAnswer(identity(0x40), {0xC0, 0xA8, 0x00, 0x05});
    const auto a = parseSearchAnswer(d);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->identity, identity(0x40));
    EXPECT_EQ(dottedAddress(a->address), "192.168.0.5");
    EXPECT_EQ(dottedAddress({255, 0, 10, 1}), "255.0.10.1");
}

TEST(DeviceServer, ShortDatagramsGiveNothing)
{
    const Bytes search = searchAnswer(identity(1), {10, 0, 0, 1}, 24);
    const Bytes serial = serialAnswer(0x80, 0x25, 0x03).substr(0, 29);
    const Bytes port = portAnswer(0xA1, 0x0F).substr(0, 28);
    for (std::size_t n = 0; n < search.size(); ++n)
        EXPECT_FALSE(parseSearchAnswer(search.substr(0, n))) << n;
    for (std::size_t n = 0; n < serial.size(); ++n)
        EXPECT_FALSE(parseSerialSettingsAnswer(serial.substr(0, n))) << n;
    for (std::size_t n = 0; n < port.size(); ++n)
        EXPECT_FALSE(parsePortAnswer(port.substr(0, n))) << n;
    EXPECT_TRUE(parseSearchAnswer(search));
    EXPECT_EQ(serialSettingsText(*parseSerialSettingsAnswer(serial)), "9600,None,8,1");
    EXPECT_EQ(parsePortAnswer(port), 4001);

    // Our own packets, heard back on the broadcast, are not answers.
    for (const Bytes& own : {discoveryPacket(), pollPacket(), serialSettingsQuery(identity(1)),
                             portQuery(identity(1))})
        EXPECT_FALSE(parseSearchAnswer(own)) << hexDump(own);
}

// A network of device servers on the broadcast: each answers the discovery (at the tick
// it is set to) and the queries that name it.
struct FakeDevice
{
    DeviceIdentity id;
    Ipv4Address address;
    int answersAtTick = 0; // 0: straight after the discovery
    bool answersQueries = true;
};

struct SearchRun
{
    DeviceSearchState state;
    std::vector<SearchStep> steps;
    int ticks = 0; // timer ticks until the search was done
};

SearchRun runSearch(const std::vector<FakeDevice>& devices,
                    std::function<void(int tick, std::deque<Bytes>&)> extra = {})
{
    SearchRun run;
    std::deque<Bytes> waiting;
    auto send = [&](const SearchStep& step) {
        const Bytes& p = step.packet;
        for (const auto& d : devices) {
            const Bytes id(d.id.begin(), d.id.end());
            if (step.kind == SearchStepKind::Discovery && d.answersAtTick == 0)
                waiting.push_back(searchAnswer(d.id, d.address));
            if (d.answersQueries && p == serialSettingsQuery(d.id))
                waiting.push_back(serialAnswer(0x80, 0x25, 0x03));
            if (d.answersQueries && p == portQuery(d.id))
                waiting.push_back(portAnswer(0xA1, 0x0F));
        }
    };
    // One button click, then timer ticks until the search is done; bounded.
    for (int tick = 0; tick < 200; ++tick) {
        for (const auto& d : devices)
            if (d.answersAtTick == tick && tick > 0)
                waiting.push_back(searchAnswer(d.id, d.address));
        if (extra)
            extra(tick, waiting);
        for (;;) {
            const SearchStep step = nextSearchStep(run.state);
            if (step.kind == SearchStepKind::Done) {
                run.ticks = tick;
                return run;
            }
            run.steps.push_back(step);
            send(step);
            std::optional<Bytes> got;
            for (int i = 0; i < step.receiveTries && !got; ++i)
                if (!waiting.empty()) {
                    got = waiting.front();
                    waiting.pop_front();
                }
            applySearchStep(run.state, step,
                            got ? std::optional<std::string_view>(*got) : std::nullopt);
            if (step.endsTick)
                break;
        }
    }
    ADD_FAILURE() << "the search did not end";
    return run;
}

std::vector<SearchStepKind> kinds(const std::vector<SearchStep>& steps)
{
    std::vector<SearchStepKind> out;
    for (const auto& s : steps)
        out.push_back(s.kind);
    return out;
}

TEST(DeviceSearch, NoDeviceServer)
{
    const SearchRun run = runSearch({});
    std::vector<SearchStepKind> expected{SearchStepKind::Discovery};
    expected.insert(expected.end(), 51, SearchStepKind::Poll);
    expected.insert(expected.end(), {SearchStepKind::SerialQuery, SearchStepKind::PortQuery,
                                     SearchStepKind::FinalPoll});
    EXPECT_EQ(kinds(run.steps), expected);
    EXPECT_EQ(run.ticks, 52); // about one second of 20 ms ticks
    EXPECT_TRUE(run.state.rows.empty());
    const SearchStep& query = run.steps[52];
    EXPECT_EQ(query.packet, serialSettingsQuery(DeviceIdentity{}));
    EXPECT_EQ(query.receiveTries, SearchQueryTries);
    EXPECT_EQ(query.row, 1);

    DeviceTable table;
    table.row(1).ip = "10.0.0.9";
    table.clearSearchCells();
    writeSearchResults(run.state, table);
    EXPECT_EQ(table.row(1), DeviceRow{});
}

TEST(DeviceSearch, FoundDevicesFillRowsInOrderAndAreQueried)
{
    const std::vector<FakeDevice> devices = {
        {identity(0x10), {192, 168, 0, 5}, 0, true},
        {identity(0x30), {192, 168, 0, 6}, 0, false}, // answers the search only
        {identity(0x50), {192, 168, 0, 7}, 20, true}, // late: lands on the next free row
    };
    const SearchRun run = runSearch(devices);
    ASSERT_EQ(run.state.rows.size(), 3u);
    EXPECT_EQ(run.state.rows[0],
              (FoundDevice{identity(0x10), "192.168.0.5", "9600,None,8,1", std::uint16_t(4001)}));
    EXPECT_EQ(run.state.rows[1], (FoundDevice{identity(0x30), "192.168.0.6", {}, {}}));
    EXPECT_EQ(run.state.rows[2].address, "192.168.0.7");
    EXPECT_EQ(run.state.rows[2].port, 4001);

    std::vector<Bytes> queries;
    for (const auto& s : run.steps)
        if (s.kind == SearchStepKind::SerialQuery || s.kind == SearchStepKind::PortQuery)
            queries.push_back(s.packet);
    EXPECT_EQ(queries,
              (std::vector<Bytes>{serialSettingsQuery(identity(0x10)), portQuery(identity(0x10)),
                                  serialSettingsQuery(identity(0x30)), portQuery(identity(0x30)),
                                  serialSettingsQuery(identity(0x50)), portQuery(identity(0x50))}));
    EXPECT_EQ(run.ticks, 52);

    // The search keeps send boxes and locations, and clears the rest before filling.
    DeviceTable table;
    table.row(1).send = true;
    table.row(1).place = big5("大廳");
    table.row(1).status = 1;
    table.row(2).serialSettings = "19200,None,8,1";
    table.row(4).ip = "10.1.1.1";
    table.clearSearchCells();
    writeSearchResults(run.state, table);
    EXPECT_EQ(table.row(1),
              (DeviceRow{"192.168.0.5", "4001", "9600,None,8,1", big5("大廳"), true, 0}));
    EXPECT_EQ(table.row(2), (DeviceRow{"192.168.0.6", "", "", "", false, 0}));
    EXPECT_EQ(table.row(3).ip, "192.168.0.7");
    EXPECT_EQ(table.row(4).ip, "");
}

TEST(DeviceSearch, OddDatagramsAndRepeatsTakeNoRow)
{
    const FakeDevice device{identity(0x10), {10, 0, 0, 2}, 0, true};
    const SearchRun run = runSearch({device}, [&](int tick, std::deque<Bytes>& waiting) {
        if (tick == 3)
            waiting.push_back(Bytes("\x81\x00\x00\x0A\x01\x02", 6)); // short
        if (tick == 5)
            waiting.push_back(searchAnswer(device.id, device.address)); // the same device again
        if (tick == 52)
            waiting.push_front(Bytes(12, '\x01')); // a stray datagram ahead of the answers
    });
    // Every answer is now taken one step late: the serial settings query gets the stray
    // datagram, the port query the serial settings (port 0) and the last poll the port
    // answer (address 0.0.0.0). None of them gives a value.
    ASSERT_EQ(run.state.rows.size(), 1u);
    EXPECT_EQ(run.state.rows[0].address, "10.0.0.2");
    EXPECT_FALSE(run.state.rows[0].serialSettings);
    EXPECT_FALSE(run.state.rows[0].port);
}

TEST(DeviceSearch, AStepThatIsNotDueChangesNothing)
{
    DeviceSearchState state;
    SearchStep poll{SearchStepKind::Poll, pollPacket(), 1, true, 0};
    const Bytes answer = searchAnswer(identity(1), {10, 0, 0, 1});
    applySearchStep(state, poll, answer);
    EXPECT_EQ(state.phase, DeviceSearchState::Phase::Start);
    EXPECT_TRUE(state.rows.empty());
    state.phase = DeviceSearchState::Phase::Finished;
    EXPECT_EQ(nextSearchStep(state).kind, SearchStepKind::Done);
}

TEST(DeviceServer, AddressGroups)
{
    struct Case
    {
        const char* row;
        std::vector<std::string> own;
        bool same;
    } cases[] = {
        {"192.168.0.5", {"192.168.0.2"}, true},
        {"10.0.0.5", {"192.168.0.2"}, false},
        {"192.168.10.7", {"192.168.1.20"}, false}, // 10 is not 1
        {"192.168.127.254", {"192.168.1.20"}, false},
        {"192.168.1.7", {"127.0.0.1", "192.168.1.20"}, true},
        {" 192.168.1.7 ", {"192.168.1.20"}, true},
        {"192.168.1.300", {"192.168.1.20"}, false},
        {"192.168.1", {"192.168.1.20"}, false},
        {"192.168..1", {"192.168.1.20"}, false},
        {"1921.168.1.1", {"192.168.1.20"}, false},
        {"", {"192.168.1.20"}, false},
        {"192.168.1.7", {}, false},
        {"192.168.1.7",
         {"1.0.0.1", "2.0.0.1", "3.0.0.1", "4.0.0.1", "5.0.0.1", "6.0.0.1", "7.0.0.1", "8.0.0.1",
          "9.0.0.1", "10.0.0.1", "192.168.1.20"},
         false}, // only ten own addresses are looked at
    };
    for (const auto& c : cases)
        EXPECT_EQ(sameAddressGroup(c.row, c.own), c.same) << c.row;
}

} // namespace
} // namespace led
