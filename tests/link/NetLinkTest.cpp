#include "link/NetLink.h"

#include "NetTestSupport.h"
#include "support/QtApp.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace led {
namespace {

using test::entry;
using test::Listener;
using test::waitUntil;

const QByteArray Preamble(30, '0');
constexpr int TimeoutMs = 300;
// Scheduling slack on a busy test machine.
constexpr int SlackMs = 250;

std::vector<NetOutcome> outcomes(const std::vector<NetRowResult>& results)
{
    std::vector<NetOutcome> out;
    for (const auto& r : results)
        out.push_back(r.outcome);
    return out;
}

std::vector<int> rowNumbers(const std::vector<NetRowResult>& results)
{
    std::vector<int> out;
    for (const auto& r : results)
        out.push_back(r.row);
    return out;
}

TEST(NetLink, CommandReachesEveryEnabledRowWithOnePreambleEach)
{
    test::ensureQtApp();
    Listener first, second, skipped;
    DeviceServerList rows;
    rows[0] = entry("127.0.0.1", first.portText());
    rows[1] = entry("127.0.0.1", skipped.portText(), false);
    rows[4] = entry(" 127.0.0.1 ", second.portText());
    const Bytes command("\xFF\x80\x7F\x01\x00\x00\xFF\x09\xF6\xFF\xF4\x0B", 12);

    NetLink link;
    const auto results = link.sendNet(command, rows, TimeoutMs, true);

    EXPECT_EQ(rowNumbers(results), (std::vector<int>{1, 5}));
    EXPECT_EQ(outcomes(results),
              (std::vector<NetOutcome>{NetOutcome::Written, NetOutcome::Written}));
    ASSERT_TRUE(waitUntil([&] {
        return !second.connections().empty() && second.connections()[0].bytes.size() == 42;
    }));
    ASSERT_EQ(first.connections().size(), 1u);
    EXPECT_EQ(first.connections()[0].bytes, Preamble + QByteArray(command.data(), 12));
    EXPECT_EQ(second.connections()[0].bytes, Preamble + QByteArray(command.data(), 12));
    EXPECT_TRUE(skipped.connections().empty());
    // Each command waits 200 ms on its row; the second row took the first's connection down.
    EXPECT_GE(results[0].elapsedMs, NetLink::CommandPauseMs - 1);
    EXPECT_TRUE(first.connections()[0].closed);
    EXPECT_EQ(writeStatusPicture(results[0]), 1);

    // The last connection stays open until the link's next write.
    EXPECT_TRUE(link.isConnected());
    PauseMs(20);
    EXPECT_FALSE(second.connections()[0].closed);
    link.sendNet("x", rows, TimeoutMs, false);
    EXPECT_TRUE(waitUntil([&] { return second.connections()[0].closed; }));
    EXPECT_EQ(first.connections().at(1).bytes, QByteArray("x"));
}

TEST(NetLink, UploadAppendsLineEndAndDisconnects)
{
    test::ensureQtApp();
    Listener sign;
    DeviceServerList rows;
    rows[2] = entry("127.0.0.1", sign.portText());
    const Bytes upload("\xFF\x18\xE7\x01\x00\x00\xFF\x15\xEA\x00", 10);

    NetLink link;
    const auto results = link.uploadNet(upload, rows, TimeoutMs, false);

    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].row, 3);
    EXPECT_EQ(results[0].outcome, NetOutcome::Written);
    EXPECT_EQ(writeStatusPicture(results[0]), 1);
    EXPECT_FALSE(link.isConnected());
    ASSERT_TRUE(
        waitUntil([&] { return !sign.connections().empty() && sign.connections()[0].closed; }));
    EXPECT_EQ(sign.connections()[0].bytes, QByteArray(upload.data(), 10) + "\r\n");
    // No pause after an upload.
    EXPECT_LT(results[0].elapsedMs, NetLink::CommandPauseMs);

    link.uploadNet(upload, rows, TimeoutMs, true);
    ASSERT_TRUE(
        waitUntil([&] { return sign.connections().size() == 2 && sign.connections()[1].closed; }));
    EXPECT_EQ(sign.connections()[1].bytes, Preamble + QByteArray(upload.data(), 10) + "\r\n");
}

// Rows that cannot be reached cost at most the connect time-out each, leave their status
// picture alone and do not keep the rows after them from getting the upload.
TEST(NetLink, UnreachableRowsAreSkippedWithinTheTimeOut)
{
    test::ensureQtApp();
    Listener sign;
    test::SilentListener silent;
    ASSERT_TRUE(silent.isFull()) << "the accept queue did not fill";
    struct Case
    {
        DeviceServerEntry row;
        NetOutcome expected;
    } cases[] = {
        {entry("127.0.0.1", std::to_string(test::refusedPort())), NetOutcome::Refused},
        {entry("127.0.0.1", std::to_string(silent.port())), NetOutcome::TimedOut},
        {entry("127.0.0.1", "abc"), NetOutcome::BadPort},
        {entry("127.0.0.1", "0"), NetOutcome::BadPort},
        {entry("127.0.0.1", "70000"), NetOutcome::BadPort},
        {entry("127.1", sign.portText()), NetOutcome::BadAddress},
        {entry("127.0.0.256", sign.portText()), NetOutcome::BadAddress},
        {entry("localhost", sign.portText()), NetOutcome::BadAddress},
        {entry("", sign.portText()), NetOutcome::NoAddress},
        {entry("127.0.0.1", sign.portText()), NetOutcome::Written},
    };
    DeviceServerList rows;
    std::vector<NetOutcome> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rows[i] = cases[i].row;
        expected.push_back(cases[i].expected);
    }

    NetLink link;
    QElapsedTimer clock;
    clock.start();
    const auto results = link.uploadNet("DATA", rows, TimeoutMs, false);

    EXPECT_EQ(outcomes(results), expected);
    for (const auto& r : results) {
        EXPECT_LE(r.elapsedMs, TimeoutMs + SlackMs) << "row " << r.row;
        if (r.outcome != NetOutcome::Written) {
            EXPECT_EQ(writeStatusPicture(r), std::nullopt) << "row " << r.row;
        }
    }
    EXPECT_GE(results[1].elapsedMs, TimeoutMs - 1);
    EXPECT_LE(clock.elapsed(), 2 * TimeoutMs + 4 * SlackMs);
    ASSERT_TRUE(
        waitUntil([&] { return !sign.connections().empty() && sign.connections()[0].closed; }));
    EXPECT_EQ(sign.connections()[0].bytes, QByteArray("DATA\r\n"));
}

// A device server that takes the connection but not the bytes: the row gets picture 0
// within the write time-out and the next row is still served.
TEST(NetLink, StalledWriteFailsAfterConnecting)
{
    test::ensureQtApp();
    QTcpServer stalled; // accepted by the kernel, never read
    stalled.listen(QHostAddress::LocalHost, 0);
    stalled.pauseAccepting();
    Listener sign;
    DeviceServerList rows;
    rows[0] = entry("127.0.0.1", std::to_string(stalled.serverPort()));
    rows[1] = entry("127.0.0.1", sign.portText());

    NetLink link;
    link.setWriteTimeoutMs(300);
    const Bytes big(64 * 1024 * 1024, '\x41'); // more than the socket buffers hold
    const auto results = link.uploadNet(big, rows, TimeoutMs, false);

    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].outcome, NetOutcome::FailedAfterConnect);
    EXPECT_EQ(writeStatusPicture(results[0]), 0);
    EXPECT_FALSE(results[0].reason.isEmpty());
    EXPECT_LE(results[0].elapsedMs, 300 + SlackMs);
    EXPECT_EQ(results[1].outcome, NetOutcome::Written);
}

TEST(NetLink, ConnectionTestUsesEachRowsPortAndIgnoresTheSendFlag)
{
    test::ensureQtApp();
    Listener a, b;
    DeviceServerList rows;
    rows[0] = entry("127.0.0.1", a.portText(), false);
    rows[1] = entry("127.0.0.1", std::to_string(test::refusedPort()));
    rows[3] = entry("127.0.0.1", "x");
    rows[4] = entry("", a.portText());
    rows[6] = entry("127.0.0.1", b.portText());

    NetLink link;
    const auto results = link.connectionTest(rows, TimeoutMs);

    ASSERT_EQ(results.size(), static_cast<std::size_t>(DeviceRowCount));
    std::vector<int> pictures;
    for (const auto& r : results)
        pictures.push_back(connectionTestPicture(r).value_or(-1));
    std::vector<int> expected(DeviceRowCount, 0);
    expected[0] = 1;
    expected[6] = 1;
    EXPECT_EQ(pictures, expected);
    EXPECT_EQ(results[1].outcome, NetOutcome::Refused);
    EXPECT_EQ(results[2].outcome, NetOutcome::NoAddress);
    // Every row closes the connection of the one before, with or without an address.
    EXPECT_FALSE(link.isConnected());
    EXPECT_TRUE(waitUntil([&] {
        return a.connections().size() == 1 && a.connections()[0].closed &&
               b.connections().size() == 1 && b.connections()[0].closed;
    }));
}

// A timer that fires during a command's pause cannot take the socket from under it.
TEST(NetLink, WriteDuringAWriteIsRefusedAsBusy)
{
    test::ensureQtApp();
    Listener sign;
    DeviceServerList rows;
    rows[0] = entry("127.0.0.1", sign.portText());
    NetLink link;
    std::vector<NetRowResult> nested;
    QTimer::singleShot(50, [&] { nested = link.sendNet("B", rows, TimeoutMs, false); });

    const auto results = link.sendNet("A", rows, TimeoutMs, false);

    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, NetOutcome::Written);
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested[0].outcome, NetOutcome::Busy);
    EXPECT_EQ(writeStatusPicture(nested[0]), std::nullopt);
    EXPECT_FALSE(link.isBusy());
    ASSERT_TRUE(waitUntil([&] { return !sign.connections().empty(); }));
    PauseMs(20);
    EXPECT_EQ(sign.connections()[0].bytes, QByteArray("A"));
}

} // namespace
} // namespace led
