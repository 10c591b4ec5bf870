#include "sign/HayesModem.h"

#include <gtest/gtest.h>

namespace led {
namespace {

constexpr std::int64_t Guard = 1000;

// Feeds the modem at given times and keeps what it said and passed on.
struct Line
{
    HayesModem modem{Guard};
    Bytes toSign;
    Bytes toLine;

    void take(const HayesModem::Output& out)
    {
        toSign += out.toSign;
        toLine += out.toLine;
    }
    // What the modem answers to this write.
    Bytes at(std::int64_t ms, std::string_view bytes)
    {
        const std::size_t before = toLine.size();
        take(modem.feed(bytes, ms));
        return toLine.substr(before);
    }
    Bytes expireAt(std::int64_t ms)
    {
        const std::size_t before = toLine.size();
        take(modem.expire(ms));
        return toLine.substr(before);
    }
};

// The program's modem transfer: init, dial, data, then "+" three times 200 ms apart after
// a 4 s pause, 2 s, and ATH0.
TEST(HayesModem, ProgramDialogue)
{
    Line l;
    EXPECT_EQ(l.at(0, "ATZ\r"), "OK\r\n");
    EXPECT_EQ(l.at(100, "ATX1\r"), "OK\r\n");
    EXPECT_EQ(l.at(600, "ATDT 0212345678     \r"), "CONNECT 2400\r\n");
    EXPECT_TRUE(l.modem.online());

    const Bytes data("\xFF\x18\xE7\x01\x00\x01+++\xFF\x09\xF6\xFF\xF4\x0B", 15);
    EXPECT_EQ(l.at(1100, data), "");
    EXPECT_EQ(l.toSign, data);

    EXPECT_EQ(l.at(5100, "+"), "");
    EXPECT_EQ(l.at(5300, "+"), "");
    EXPECT_EQ(l.at(5500, "+"), "");
    EXPECT_EQ(l.modem.escapeDue(), 6500);
    EXPECT_EQ(l.expireAt(6499), "");
    EXPECT_EQ(l.expireAt(6500), "OK\r\n");
    EXPECT_FALSE(l.modem.online());
    EXPECT_TRUE(l.modem.connected());
    EXPECT_EQ(l.toSign, data); // the escape is not data

    EXPECT_EQ(l.at(7500, "ATH0\r"), "OK\r\n");
    EXPECT_FALSE(l.modem.connected());
}

TEST(HayesModem, EscapeNeedsQuietOnBothSides)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<std::int64_t, Bytes>> writes; // after CONNECT at 0
        Bytes toSign;
        bool online;
    } cases[] = {
        {"in one write after a pause", {{2000, "+++"}}, "", false},
        {"right after data", {{2000, "A"}, {2100, "+++"}}, "A+++", true},
        {"followed by data within the guard", {{2000, "+++"}, {2500, "B"}}, "+++B", true},
        {"four of them", {{2000, "++++"}}, "++++", true},
        {"two, then silence", {{2000, "++"}}, "++", true},
        {"too slow between them", {{2000, "+"}, {3500, "++"}}, "+++", true},
    };
    for (const auto& c : cases) {
        Line l;
        l.at(0, "ATD1\r");
        std::int64_t last = 0;
        for (const auto& [ms, bytes] : c.writes) {
            l.take(l.modem.expire(ms));
            l.at(ms, bytes);
            last = ms;
        }
        l.expireAt(last + 5 * Guard);
        EXPECT_EQ(l.toSign, c.toSign) << c.name;
        EXPECT_EQ(l.modem.online(), c.online) << c.name;
    }
}

TEST(HayesModem, CommandMode)
{
    struct Case
    {
        const char* line;
        const char* answer;
    } cases[] = {
        {"AT\r", "OK\r\n"},      {"at&f\r", "OK\r\n"},        {"atdt123\r", "CONNECT 2400\r\n"},
        {"+++ATH0\r", "OK\r\n"}, // the hang-up after a failed dial, seen in command mode
        {"hello\r", ""},         {"ATO\r", "NO CARRIER\r\n"}, {"AT\r\n", "OK\r\n"},
    };
    for (const auto& c : cases) {
        Line l;
        EXPECT_EQ(l.at(0, c.line), c.answer) << c.line;
        EXPECT_EQ(l.toSign, "") << c.line;
    }

    // Bytes of a command line arrive in pieces; data right after CONNECT passes on.
    Line l;
    EXPECT_EQ(l.at(0, "AT"), "");
    EXPECT_EQ(l.at(10, "DT5\rxy"), "CONNECT 2400\r\n");
    EXPECT_EQ(l.toSign, "xy");

    // A very long line is cut, not grown.
    Line flood;
    flood.at(0, Bytes(100000, 'A'));
    EXPECT_EQ(flood.at(1, "\r"), "");
}

TEST(HayesModem, ReturnsOnlineAfterEscape)
{
    Line l;
    l.at(0, "ATD1\r");
    l.at(2000, "+++");
    l.expireAt(3000);
    ASSERT_FALSE(l.modem.online());
    EXPECT_EQ(l.at(3100, "ATO\r"), "CONNECT 2400\r\n");
    l.at(3200, "z");
    EXPECT_EQ(l.toSign, "z");
}

} // namespace
} // namespace led
