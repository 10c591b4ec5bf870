// What the encoders build, the decoder must read back field for field.

#include "core/document/CodeTables.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/Bright.h"
#include "core/protocol/ControlCommands.h"
#include "core/protocol/Decoder.h"
#include "core/protocol/Frames.h"
#include "core/protocol/InsertFrames.h"
#include "core/protocol/Schedule.h"
#include "core/protocol/UploadEncoder.h"
#include "core/text/Attributes.h"

#include <gtest/gtest.h>

#include <random>

namespace led {
namespace {

// A screen text as the editor would have typed it, within maxBytes.
TContect randomText(std::mt19937& rng, std::size_t maxBytes)
{
    static const char* doubles[] = {"\xA4\xA4", "\xA4\xE5", "\xB9\xF5", "\xC5\x77", "\xA1\x40"};
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    TContect c;
    for (;;) {
        const auto attr = static_cast<std::uint8_t>(pick(32));
        const int kind = pick(4);
        const std::size_t need = kind == 2 ? 4 : kind == 0 ? 1 : 2;
        if (c.text.size() + need > maxBytes || pick(12) == 0)
            break;
        if (kind == 0) {
            c.text += static_cast<char>(0x20 + pick(0x5F));
            c.attr += static_cast<char>((attr & 0x1F) | AttrSingleByte);
        } else if (kind == 1) {
            c.text += doubles[pick(5)];
            c.attr += Bytes(2, static_cast<char>(attr & 0x1F));
        } else if (kind == 2) {
            const Bytes ch = doubles[pick(5)];
            const auto w = static_cast<char>((attr & 0x1F) | AttrWide);
            const auto w2 = static_cast<char>(w | AttrWideSecond);
            c.text += ch + ch;
            c.attr += Bytes{w, w, w2, w2};
        } else {
            c.text += glyphReference(pick(GlyphCount));
            c.attr += "\x01\x01";
        }
    }
    return c;
}

TEST(RoundTrip, RandomDocumentsUploadAndDecode)
{
    std::mt19937 rng(20261211);
    for (int round = 0; round < 40; ++round) {
        TSystemparameter s;
        s.colorSet = 1 + static_cast<int>(rng() % 2);
        s.signWidth = 5 + static_cast<int>(rng() % 36);
        std::vector<int> units;
        for (int u = 0; u < 256; ++u)
            if (rng() % 40 == 0) {
                s.machine[u] = 1;
                units.push_back(u);
            }
        if (units.empty())
            units.push_back(0);

        Document doc;
        for (int n = 1; n <= ScreenCount; ++n) {
            auto& r = doc.screen(n);
            r.display = rng() % 3 == 0;
            r.speed = 1 + static_cast<int>(rng() % 15);
            r.stay = static_cast<int>(rng() % 16);
            r.front = entryEffects()[rng() % entryEffects().size()].code;
            r.rear = exitEffects()[rng() % exitEffects().size()].code;
            r.split = rng() % 2 ? 0 : 1 + static_cast<int>(rng() % (s.signWidth - 2));
            doc.content(n) = randomText(rng, 2 * static_cast<std::size_t>(s.signWidth));
        }
        GlyphTable glyphs;
        for (int g = 0; g < GlyphCount; g += 7)
            glyphs.setPixel(g, g % 16, (g * 3) % 16, true, g % 2);
        glyphs.makeAllCodes(true);

        UploadOptions options;
        options.append = round % 2;
        options.displayFlagMode = round % 3 == 0;
        options.glyphs = round % 4 == 0;
        const int first = static_cast<int>(rng() % 254);
        const int last = first + static_cast<int>(rng() % (254 - first));
        const UploadStream up = encodeScreens(doc, s, glyphs, first, last, options);

        const auto decoded = decodeTransmissions(up.bytes);
        ASSERT_EQ(decoded.size(), options.glyphs ? 2u : 1u) << round;
        for (const auto& t : decoded)
            EXPECT_TRUE(t.ok()) << formatListing(decoded);
        const auto& t = decoded[0];
        ASSERT_TRUE(t.header);
        EXPECT_EQ(t.header->colorSet, s.colorSet);
        EXPECT_EQ(t.header->units, units);
        ASSERT_GE(t.frames.size(), 3u);
        EXPECT_EQ(t.frames[0].code, CmdMode);
        EXPECT_EQ(t.frames[1].code, CmdText);

        std::vector<int> sent;
        for (int n = 1; n <= ScreenCount; ++n)
            if (options.displayFlagMode ? doc.screen(n).display != 0
                                        : n >= first + 1 && n <= last + 1)
                sent.push_back(n);
        const auto& blocks = t.frames[1].screens;
        ASSERT_EQ(blocks.size(), sent.size()) << round;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const auto& b = blocks[i];
            const auto& r = doc.screen(sent[i]);
            EXPECT_EQ(b.width, s.signWidth);
            EXPECT_EQ(b.sequence, options.displayFlagMode ? i + 1 : sent[i]);
            EXPECT_EQ(b.speed, r.speed);
            EXPECT_EQ(b.stay, r.stay);
            EXPECT_EQ(b.entry, r.front);
            EXPECT_EQ(b.exit, r.rear & 0xFF);
            EXPECT_EQ(b.split, r.split);
            // A red blank at the end is sent exactly as padding is, and read as padding.
            TContect want = doc.content(sent[i]);
            while (want.text.size() && want.text.back() == ' ' && want.attr.back() == 0x41) {
                want.text.pop_back();
                want.attr.pop_back();
            }
            EXPECT_EQ(b.text, want.text) << round << " screen " << sent[i];
            EXPECT_EQ(b.attributes, want.attr) << round;
            EXPECT_EQ(b.textWidth + b.padding, 2 * s.signWidth);
        }
        if (options.glyphs) {
            for (const auto& g : decoded[1].frames[0].glyphs) {
                const std::size_t at = s.colorSet == 1 ? GlyphMonoCode : GlyphColourCode;
                const std::size_t size = s.colorSet == 1 ? 32 : 64;
                EXPECT_EQ(g.code,
                          Bytes(reinterpret_cast<const char*>(glyphs.record(g.number) + at), size));
            }
        }
    }
}

TEST(RoundTrip, EveryCommandDecodesCleanly)
{
    TSystemparameter s;
    s.colorSet = 2;
    s.machine[3] = 1;
    s.machine[250] = 1;
    const ClockReading at{2024, 3, 7, 14, 5, 39, 4};
    WeeklySchedule schedule;
    schedule.rows[0].inUse = true;
    schedule.rows[0].time = "083000";

    struct Case
    {
        const char* name;
        Bytes bytes;
        std::vector<std::uint8_t> codes; // command frames, end frames left out
    } cases[] = {
        {"open", powerTransmission(s, true), {CmdPower}},
        {"version", versionTransmission(s), {CmdVersion}},
        {"selftest", selfTestTransmission(s), {CmdSelfTest}},
        {"clear", clearTransmission(s), {CmdReset}},
        {"unit", unitNumberTransmission(s, 77), {CmdUnitNumber}},
        {"time", setTimeTransmission(s, at), {CmdDateTime}},
        {"config", signConfigTransmission(s, 16), {CmdWidth}},
        {"news count", newsCountTransmission(s, 3), {CmdNewsCount}},
        {"news item", newsItemTransmission(s, 2), {CmdNewsData}},
        {"insert",
         manualInsert(s, 2, 9,
                      "\xA4\xA4"
                      "ab"),
         {CmdInsert}},
        {"insert auto", automaticInsert(s, 4, 9, "x"), {CmdInsert}},
        {"baud", baudChangeTransmission(s, 3), {CmdBaud}},
    };
    for (const auto& c : cases) {
        const auto decoded = decodeTransmissions(c.bytes);
        ASSERT_EQ(decoded.size(), 1u) << c.name;
        EXPECT_TRUE(decoded[0].ok()) << c.name << "\n" << formatListing(decoded);
        std::vector<std::uint8_t> codes;
        for (const auto& f : decoded[0].frames)
            if (f.code != CmdEnd)
                codes.push_back(f.code);
        EXPECT_EQ(codes, c.codes) << c.name;
        EXPECT_EQ(decoded[0].header->units, (std::vector<int>{3, 250})) << c.name;
    }

    const auto time = decodeTransmissions(setTimeTransmission(s, at));
    ASSERT_TRUE(time[0].frames[0].clock);
    const auto& clock = *time[0].frames[0].clock;
    EXPECT_EQ(std::vector<int>({clock.year, clock.month, clock.day, clock.hour, clock.minute,
                                clock.second, clock.weekday}),
              std::vector<int>({2024, 3, 7, 14, 5, 39, 4}));

    const auto insert = decodeTransmissions(automaticInsert(s, 4, 9, "\xA4\xA4"));
    ASSERT_TRUE(insert[0].frames[0].insert);
    EXPECT_TRUE(insert[0].frames[0].insert->automatic);
    EXPECT_EQ(insert[0].frames[0].insert->text, "\xA4\xA4");

    const auto sched = scheduleTransmission(s, schedule);
    ASSERT_TRUE(sched);
    const auto rows = decodeTransmissions(sched.bytes);
    ASSERT_EQ(rows.size(), 2u); // timer enable, then the table
    for (const auto& t : rows)
        EXPECT_TRUE(t.ok()) << formatListing(rows);
    ASSERT_EQ(rows[1].frames[0].schedule.size(), 9u);
    EXPECT_TRUE(rows[1].frames[0].schedule[0].inUse);
    EXPECT_EQ(rows[1].frames[0].schedule[0].hour, 8);
    EXPECT_EQ(rows[1].frames[0].schedule[0].minute, 30);

    for (const Bytes& bright : {brightQuery(), brightSetFrame('3', BrightMode::Automatic, 200),
                                brightBaudFrame('1', 3)}) {
        const auto b = decodeTransmissions(bright);
        ASSERT_EQ(b.size(), 1u);
        EXPECT_TRUE(b[0].ok()) << formatListing(b);
        EXPECT_EQ(b[0].frames[0].kind, Frame::Kind::Bright);
    }
}

TEST(RoundTrip, DataFileAndPreamble)
{
    TSystemparameter s;
    s.colorSet = 1;
    Document doc;
    doc.content(1) = {"AB", "\x41\x41"};
    const UploadStream up = encodeScreens(doc, s, GlyphTable::blank(), 0, 0, {});
    const auto file = decodeTransmissions(transmissionDataFile(2400, up.bytes));
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0].fileBaud, 2400);
    EXPECT_TRUE(file[0].ok()) << formatListing(file);

    const auto woken = decodeTransmissions(Bytes(30, '0') + selfTestTransmission(s));
    ASSERT_EQ(woken.size(), 1u);
    EXPECT_TRUE(woken[0].preamble);
    EXPECT_TRUE(woken[0].ok());
}

} // namespace
} // namespace led
