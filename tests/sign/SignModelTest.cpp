#include "sign/SignModel.h"

#include "core/document/Document.h"
#include "core/document/GlyphTable.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/Bright.h"
#include "core/protocol/ControlCommands.h"
#include "core/protocol/DeviceAnswers.h"
#include "core/protocol/Frames.h"
#include "core/protocol/InsertFrames.h"
#include "core/protocol/Schedule.h"
#include "core/protocol/UploadEncoder.h"
#include "core/text/Cp950.h"

#include "sign/StreamAssembler.h"

#include <gtest/gtest.h>

#include <random>

namespace led {
namespace {

using namespace std::chrono;

const LocalSeconds HostNow = local_days{2024y / March / 7} + 14h + 0min;

// A colour sign of width 10, unit 0, and the project that sends to it.
struct SignFixture : ::testing::Test
{
    SignFixture() { s.colorSet = 2; }

    void setScreen(int n, std::string_view utf8, std::uint8_t attribute = 0x41)
    {
        const Bytes text = big5(utf8);
        doc.content(n) = {text, Bytes(text.size(), static_cast<char>(attribute))};
    }

    Bytes upload(int first, int last, bool append = false, bool withGlyphs = false)
    {
        UploadOptions o;
        o.append = append;
        o.glyphs = withGlyphs;
        return encodeScreens(doc, s, glyphs, first - 1, last - 1, o).bytes;
    }

    std::vector<Bytes> send(std::string_view bytes) { return sign.receive(bytes, HostNow, line); }

    const SignState& state() const { return sign.state(); }

    Document doc;
    TSystemparameter s;
    GlyphTable glyphs;
    SignModel sign;
    LineAddressing line;
};

std::vector<int> screenNumbers(const SignState& st)
{
    std::vector<int> out;
    for (const auto& [n, screen] : st.screens)
        out.push_back(n);
    return out;
}

TEST_F(SignFixture, UploadStoresScreens)
{
    setScreen(1, "AB");
    setScreen(2, "字幕", 0x05);
    doc.screen(2).stay = 3;
    doc.screen(2).front = 7;
    doc.screen(2).rear = 2;
    doc.screen(2).speed = 4;
    doc.screen(2).split = 1;
    send(upload(1, 2));

    ASSERT_EQ(screenNumbers(state()), (std::vector<int>{1, 2}));
    const StoredScreen& first = state().screens.at(1);
    EXPECT_EQ(first.text, "AB");
    EXPECT_EQ(first.attributes, "\x41\x41");
    EXPECT_EQ(first.padding, 18);
    EXPECT_EQ(first.exit, 255);
    const StoredScreen& second = state().screens.at(2);
    EXPECT_EQ(cp950ToUtf8(second.text), "字幕");
    EXPECT_EQ(second.attributes, Bytes(4, '\x05'));
    EXPECT_EQ(second.width, 10);
    EXPECT_EQ((std::array{second.stay, second.entry, second.exit, second.speed, second.split}),
              (std::array{3, 7, 2, 4, 1}));
    EXPECT_EQ(state().counters.badChecks, 0);
    EXPECT_EQ(state().counters.applied, 2); // mode and text frames
}

TEST_F(SignFixture, OverwriteClearsAppendKeeps)
{
    for (int n : {1, 2, 3, 5})
        setScreen(n, "x");
    send(upload(1, 3));
    ASSERT_EQ(screenNumbers(state()), (std::vector<int>{1, 2, 3}));

    send(upload(5, 5));
    EXPECT_EQ(screenNumbers(state()), (std::vector<int>{5}));

    setScreen(2, "new");
    send(upload(2, 2, true));
    EXPECT_EQ(screenNumbers(state()), (std::vector<int>{2, 5}));
    EXPECT_EQ(state().screens.at(2).text, "new");
    EXPECT_TRUE(state().append);
}

TEST_F(SignFixture, GlyphUploadAndClear)
{
    std::uint8_t* code = glyphs.record(5) + GlyphColourCode;
    for (int i = 0; i < 64; ++i)
        code[i] = static_cast<std::uint8_t>(i + 1);
    setScreen(1, "A");
    send(closedFrame(CmdPower, Bytes(2, '\0')).insert(0, addressHeader(s)));
    ASSERT_FALSE(state().power);

    // Screens, then the glyph upload, which ends in the power frame that opens the sign.
    send(upload(1, 1, false, true));
    ASSERT_EQ(state().glyphs.size(), 4u); // 0-2 always, and 5
    EXPECT_EQ(state().glyphs.at(5), Bytes(reinterpret_cast<const char*>(code), 64));
    EXPECT_EQ(state().glyphs.at(0), Bytes(64, '\0'));
    EXPECT_TRUE(state().power);
    EXPECT_EQ(screenNumbers(state()), (std::vector<int>{1}));

    send(clearTransmission(s));
    EXPECT_TRUE(state().screens.empty());
    EXPECT_TRUE(state().glyphs.empty());
}

TEST_F(SignFixture, ControlCommands)
{
    send(setTimeTransmission(s, ClockReading{2024, 3, 7, 14, 5, 39, 4}));
    ASSERT_TRUE(state().clock);
    EXPECT_EQ(state().clock->offsetSeconds, 5 * 60 + 39);
    EXPECT_EQ(state().clock->sent, "2024-03-07 14:05:39");
    EXPECT_EQ(state().clock->weekday, 4);

    WeeklySchedule week;
    week.rows[0].inUse = true;
    week.rows[0].time = "080000";
    week.rows[0].last = 10;
    send(scheduleTransmission(s, week).bytes);
    ASSERT_EQ(state().schedule.size(), 9u);
    EXPECT_EQ(hexText(state().schedule[0].raw), "00 00 08 00 00 00 00 01 00 01 00 08 08 00 01 0A");
    EXPECT_FALSE(state().schedule[1].inUse);
    EXPECT_TRUE(state().timer);
    send(timerOffTransmission(s));
    EXPECT_FALSE(state().timer);
    EXPECT_FALSE(state().schedule[0].inUse);

    send(versionTransmission(s));
    send(selfTestTransmission(s));
    send(baudChangeTransmission(s, 3));
    EXPECT_EQ(state().baudCode, 3);
    send(manualInsert(s, 3, 10, big5("插播")));
    ASSERT_TRUE(state().lastInsert);
    EXPECT_EQ(cp950ToUtf8(state().lastInsert->text), "插播");
    EXPECT_EQ(state().lastInsert->slot, 3);
    EXPECT_EQ(state().lastInsert->count, 10);
    EXPECT_FALSE(state().lastInsert->automatic);

    for (const Bytes& t : newsTransmissions(s, 3))
        send(t);
    ASSERT_TRUE(state().news);
    EXPECT_EQ(state().news->count, 3);
    ASSERT_EQ(state().news->items.size(), 3u);
    EXPECT_EQ(cp950ToUtf8(state().news->items[2]), "即時新聞測試3");

    s.colorSet = 1;
    send(signConfigTransmission(s, 12));
    EXPECT_EQ(state().width, 12);
    EXPECT_EQ(state().colourSet, 1);

    const SignCounters& c = state().counters;
    EXPECT_EQ(c.versionShown, 1);
    EXPECT_EQ(c.selfTests, 1);
    EXPECT_EQ(c.inserts, 1);
    EXPECT_EQ(c.badChecks + c.rejected + c.ignored, 0);
}

TEST_F(SignFixture, ClockOffsetAcrossMidnight)
{
    // Sunday 2000-01-02 09:05:07 sent while the host says 2000-01-03 00:00:00.
    const Bytes t = setTimeTransmission(s, ClockReading{2000, 1, 2, 9, 5, 7, 0});
    sign.receive(t, local_days{2000y / January / 3}, line);
    ASSERT_TRUE(state().clock);
    EXPECT_EQ(state().clock->offsetSeconds, -(14 * 3600 + 54 * 60 + 53));
}

TEST(SignModel, UnitFiltering)
{
    struct Case
    {
        const char* name;
        std::vector<int> selected;
        int signUnit;
        bool acts;
    } cases[] = {
        {"units 1 and 3, sign 3", {1, 3}, 3, true},     {"units 1 and 3, sign 2", {1, 3}, 2, false},
        {"nothing selected means unit 0", {}, 0, true}, {"nothing selected, sign 5", {}, 5, false},
        {"all 256, count byte 0", {}, 200, true},       {"unit 255", {255}, 255, true},
    };
    for (const auto& c : cases) {
        TSystemparameter s;
        s.colorSet = 2;
        for (int u : c.selected)
            s.machine[static_cast<std::size_t>(u)] = 1;
        if (std::string_view(c.name).starts_with("all"))
            s.machine.fill(1);
        SignState initial;
        initial.unit = c.signUnit;
        SignModel sign(initial);
        LineAddressing line;
        sign.receive(selfTestTransmission(s), HostNow, line);
        EXPECT_EQ(sign.state().counters.selfTests, c.acts ? 1 : 0) << c.name;
        EXPECT_EQ(sign.state().counters.ignored, c.acts ? 0 : 1) << c.name;
    }
}

TEST_F(SignFixture, UnitNumberCommandMovesTheSign)
{
    send(unitNumberTransmission(s, 7));
    EXPECT_EQ(state().unit, 7);
    send(selfTestTransmission(s)); // still addressed to unit 0
    EXPECT_EQ(state().counters.selfTests, 0);
    s.machine[0] = 0;
    s.machine[7] = 1;
    send(selfTestTransmission(s));
    EXPECT_EQ(state().counters.selfTests, 1);
}

TEST_F(SignFixture, WrongChecksAreCountedNotApplied)
{
    setScreen(1, "AB");
    setScreen(2, "CD");
    Bytes stream = upload(1, 2);
    // The second block's check byte lies just before the end frame.
    stream[stream.size() - 4] ^= 0x5A;
    send(stream);
    EXPECT_TRUE(state().screens.empty());
    EXPECT_EQ(state().counters.badChecks, 1);

    Bytes header = selfTestTransmission(s);
    header[5] ^= 0x01; // the unit list's check byte
    send(header);
    EXPECT_EQ(state().counters.selfTests, 0);
    EXPECT_EQ(state().counters.badChecks, 2);

    Bytes clock = setTimeTransmission(s, ClockReading{});
    clock[clock.size() - 4] ^= 0x01;
    send(clock);
    EXPECT_FALSE(state().clock);
    EXPECT_EQ(state().counters.badChecks, 3);

    // A damaged transmission does not stop the next one.
    send(upload(1, 2));
    EXPECT_EQ(screenNumbers(state()), (std::vector<int>{1, 2}));
}

TEST_F(SignFixture, CutShortFramesAreRejected)
{
    setScreen(1, "AB");
    const Bytes stream = upload(1, 1);
    send(stream.substr(0, stream.size() - 10));
    EXPECT_TRUE(state().screens.empty());
    EXPECT_EQ(state().counters.rejected, 1);
    EXPECT_EQ(state().counters.badChecks, 0);
}

TEST_F(SignFixture, PreambleIsSkipped)
{
    send(Bytes(30, '0') + selfTestTransmission(s));
    EXPECT_EQ(state().counters.selfTests, 1);
    EXPECT_EQ(state().counters.rejected, 0);
}

TEST_F(SignFixture, FramesAfterAnEndFrameKeepTheirHeader)
{
    // The glyph upload's power frame comes after an end frame, with no header of its own;
    // a line may bring it separately.
    send(closedFrame(CmdPower, Bytes(2, '\0')).insert(0, addressHeader(s)));
    const Bytes stream = encodeGlyphs(s, glyphs);
    const std::size_t split = stream.size() - 8; // FF 11 EE 01 01 FF F4 0B
    send(stream.substr(0, split));
    EXPECT_FALSE(state().power);
    send(stream.substr(split));
    EXPECT_TRUE(state().power);

    // On a fresh line nothing has addressed the sign yet.
    LineAddressing fresh;
    sign.receive(closedFrame(CmdPower, Bytes(2, '\0')), HostNow, fresh);
    EXPECT_TRUE(state().power);
    EXPECT_EQ(state().counters.ignored, 1);

    // Another unit's header takes the line away from this sign.
    TSystemparameter other;
    other.colorSet = 2;
    other.machine[9] = 1;
    send(selfTestTransmission(other));
    send(closedFrame(CmdPower, Bytes(2, '\0')));
    EXPECT_TRUE(state().power);
}

TEST_F(SignFixture, BrightnessController)
{
    std::vector<Bytes> replies = send(brightQuery());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], brightReply('1', '1', 255));

    send(brightSetFrame('1', BrightMode::Automatic, 200));
    replies = send(brightQuery());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(interpretBrightReply(replies[0]), (BrightReading{BrightMode::Automatic, 200}));

    send(brightSetFrame('2', BrightMode::Fixed, 10)); // another controller's
    EXPECT_EQ(state().brightness.level, 73);
    EXPECT_EQ(state().counters.ignored, 1);

    send(brightBaudFrame('1', 3));
    EXPECT_EQ(state().brightness.baudCode, 3);

    Bytes bad = brightSetFrame('1', BrightMode::Fixed, 10);
    bad[bad.size() - 2] ^= 0x01;
    send(bad);
    EXPECT_EQ(state().brightness.level, 73);
    EXPECT_EQ(state().counters.badChecks, 1);
}

} // namespace
} // namespace led

namespace led {
namespace {

// Whatever a line brings, the sign neither crashes nor reads out of bounds (run under the
// sanitizers), and only clean frames take effect.
TEST(SignModel, DamagedInputIsSurvived)
{
    TSystemparameter s;
    s.colorSet = 2;
    Document doc;
    doc.content(1) = {big5("字幕AB"), Bytes("\x01\x01\x01\x01\x41\x41", 6)};
    UploadOptions o;
    o.glyphs = true;
    const Bytes seeds[] = {
        encodeScreens(doc, s, GlyphTable{}, 0, 0, o).bytes,
        setTimeTransmission(s, ClockReading{}),
        timerOffTransmission(s),
        manualInsert(s, 1, 3, big5("插播")),
        newsItemTransmission(s, 2),
        brightSetFrame('1', BrightMode::Fixed, 9),
        unitNumberTransmission(s, 0),
        signConfigTransmission(s, 0),
    };
    std::mt19937 random(20240307);
    SignModel sign;
    StreamAssembler assembler;
    std::size_t fed = 0, handedOut = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = seeds[random() % std::size(seeds)];
        const int changes = static_cast<int>(random() % 4);
        for (int i = 0; i < changes && !bytes.empty(); ++i) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.erase(at, 1 + random() % 8);
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        LineAddressing line;
        sign.receive(bytes, HostNow, line);
        const std::size_t cut = random() % (bytes.size() + 1);
        handedOut += assembler.feed(std::string_view(bytes).substr(0, cut)).size();
        handedOut += assembler.feed(std::string_view(bytes).substr(cut)).size();
        fed += bytes.size();
        ASSERT_EQ(handedOut + assembler.held(), fed); // nothing lost, nothing made up
    }
    const SignCounters& c = sign.state().counters;
    EXPECT_GT(c.applied, 0);
    EXPECT_GT(c.badChecks + c.rejected, 0);
    EXPECT_LE(sign.state().unit, 255);
}

} // namespace
} // namespace led
