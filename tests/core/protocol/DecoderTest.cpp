#include "core/protocol/Decoder.h"

#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

#include <random>

namespace led {
namespace {

// "FF 18 E7" to bytes; anything but hex digits separates.
Bytes hx(std::string_view text)
{
    Bytes out;
    int nibbles = 0;
    unsigned value = 0;
    for (char c : text) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        if (d < 0)
            continue;
        value = value * 16 + static_cast<unsigned>(d);
        if (++nibbles == 2) {
            out += static_cast<char>(value);
            nibbles = 0;
            value = 0;
        }
    }
    return out;
}

Bytes repeat(std::string_view piece, int n)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
        out += piece;
    return out;
}

const Bytes SelfTest = hx("FF 18 E7 01 00 01 FF 09 F6 FF F4 0B");
// Sign width 10, unit 0 of a colour sign, overwrite mode, screen 1 holding "AB".
const Bytes UploadAB =
    hx("FF 18 E7 01 00 01 FF 15 EA 00 00 FF 01 FE 0A 01 00 00 00 01 41 41 41 42") +
    repeat(hx("41 20"), 18) + hx("00 FF 00 00 F6 FF F4 0B");

std::vector<int> codes(const Transmission& t)
{
    std::vector<int> out;
    for (const auto& f : t.frames)
        out.push_back(f.kind == Frame::Kind::Command ? f.code : -1);
    return out;
}

const Frame* findFrame(const std::vector<Transmission>& ts, int code)
{
    for (const auto& t : ts)
        for (const auto& f : t.frames)
            if (f.kind == Frame::Kind::Command && f.code == code)
                return &f;
    return nullptr;
}

// Every byte after the file head belongs to exactly one transmission, in order.
void expectCovered(std::string_view in, const std::vector<Transmission>& ts)
{
    std::size_t pos = dataFileBaud(in) ? 60 : 0;
    for (const auto& t : ts) {
        ASSERT_EQ(t.offset, pos);
        pos += t.length;
        std::size_t inner =
            t.offset + (t.preamble ? 30 : 0) + (t.header ? t.header->raw.size() : 0);
        for (const auto& f : t.frames) {
            ASSERT_EQ(f.offset, inner);
            inner += f.raw.size();
        }
        ASSERT_EQ(inner + (t.lineEnd ? 2 : 0), pos);
    }
    if (in.empty()) {
        ASSERT_TRUE(ts.empty());
    } else {
        ASSERT_EQ(pos, in.size());
    }
}

TEST(Decoder, CommandsAndTheirFields)
{
    struct Case
    {
        const char* name;
        Bytes input;
        std::vector<std::vector<int>> codes; // per transmission
        std::vector<std::pair<const char*, const char*>> fields;
    } cases[] = {
        {"self-test of unit 0, colour sign", SelfTest, {{0x09, 0xF4}}, {}},
        {"open sign, single-colour, nothing selected",
         hx("FF 80 7F 01 00 01 FF 11 EE 01 01 FF F4 0B"),
         {{0x11, 0xF4}},
         {{"電源", "開啟"}}},
        {"close sign",
         hx("FF 18 E7 01 00 01 FF 11 EE 00 00 FF F4 0B"),
         {{0x11, 0xF4}},
         {{"電源", "關閉"}}},
        {"version", hx("FF 18 E7 01 00 01 FF 05 FA FF F4 0B"), {{0x05, 0xF4}}, {}},
        {"clear memory", hx("FF 18 E7 01 00 01 FF 08 F7 FF F4 0B"), {{0x08, 0xF4}}, {}},
        {"unit number 255",
         hx("FF 18 E7 01 00 01 FF 06 F9 FF FF F4 0B"),
         {{0x06, 0xF4}},
         {{"新台號", "255"}}},
        {"sign width 12",
         hx("FF 18 E7 01 00 01 FF 1A E5 0C FF F4 0B"),
         {{0x1A, 0xF4}},
         {{"字數", "12"}}},
        {"baud change to 2400 with nobody selected",
         hx("FF 18 E7 00 00 FF 1B E4 01 FF F4 0B"),
         {{0x1B, 0xF4}},
         {{"傳輸率", "2400"}}},
        {"baud code 3 stands for three rates",
         hx("FF 18 E7 01 00 01 FF 1B E4 03 FF F4 0B"),
         {{0x1B, 0xF4}},
         {{"傳輸率", "9600/19200/38400"}}},
        {"timer enable and append mode",
         hx("FF 18 E7 01 00 01 FF 10 EF 01 01 FF 15 EA 01 01 FF F4 0B"),
         {{0x10, 0x15, 0xF4}},
         {{"定時", "開"}, {"模式", "附加模式"}}},
        {"news count 3, no end frame",
         hx("FF 18 E7 01 00 01 FF 40 BF 03 03"),
         {{0x40}},
         {{"則數", "3"}}},
        {"news item 10",
         hx("FF 18 E7 01 00 01 FF 41 BE") + big5("即時新聞測試") + "10" + hx("00 00"),
         {{0x41}},
         {{"內容", "即時新聞測試10"}, {"編號", "10"}}},
        {"colour set 0 starts with the count",
         hx("01 05 04 FF 09 F6 FF F4 0B"),
         {{0x09, 0xF4}},
         {}},
        {"two transmissions back to back", SelfTest + SelfTest, {{0x09, 0xF4}, {0x09, 0xF4}}, {}},
        {"colour set 0, two transmissions",
         hx("01 00 01 FF 09 F6 FF F4 0B 01 00 01 FF 05 FA FF F4 0B"),
         {{0x09, 0xF4}, {0x05, 0xF4}},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto ts = decodeTransmissions(c.input);
        expectCovered(c.input, ts);
        ASSERT_EQ(ts.size(), c.codes.size());
        for (std::size_t i = 0; i < ts.size(); ++i) {
            EXPECT_TRUE(ts[i].ok()) << formatListing(ts);
            EXPECT_EQ(codes(ts[i]), c.codes[i]);
            ASSERT_TRUE(ts[i].header);
            EXPECT_TRUE(ts[i].header->checkOk);
        }
        for (const auto& [name, value] : c.fields) {
            bool found = false;
            for (const auto& t : ts)
                for (const auto& f : t.frames)
                    found = found || f.value(name) == value;
            EXPECT_TRUE(found) << name << " = " << value << "\n" << formatListing(ts);
        }
    }
}

TEST(Decoder, AddressHeaders)
{
    struct Case
    {
        const char* name;
        Bytes input;
        int colorSet;
        std::vector<int> units;
    } cases[] = {
        {"colour, units 1 and 3", hx("FF 18 E7 02 01 03 00 FF 09 F6 FF F4 0B"), 2, {1, 3}},
        {"mono, unit 0", hx("FF 80 7F 01 00 01 FF 09 F6 FF F4 0B"), 1, {0}},
        {"no prefix", hx("02 07 09 0C FF 09 F6 FF F4 0B"), 0, {7, 9}},
        {"nobody (baud change)", hx("FF 18 E7 00 00 FF 1B E4 00 FF F4 0B"), 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto ts = decodeTransmissions(c.input);
        ASSERT_EQ(ts.size(), 1u);
        ASSERT_TRUE(ts[0].header);
        EXPECT_EQ(ts[0].header->colorSet, c.colorSet);
        EXPECT_EQ(ts[0].header->units, c.units);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
    }

    Bytes all = hx("FF 18 E7 00");
    for (int u = 0; u < 256; ++u)
        all += static_cast<char>(u);
    all += hx("00 FF 09 F6 FF F4 0B");
    const auto ts = decodeTransmissions(all);
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_EQ(ts[0].header->units.size(), 256u);
    EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
    EXPECT_NE(formatListing(ts).find("台號 0–255"), std::string::npos);
}

TEST(Decoder, ScreenUpload)
{
    const auto ts = decodeTransmissions(UploadAB);
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
    EXPECT_EQ(codes(ts[0]), (std::vector<int>{0x15, 0x01, 0xF4}));
    EXPECT_EQ(ts[0].frames[0].value("模式"), "覆蓋模式");
    const Frame& text = ts[0].frames[1];
    ASSERT_EQ(text.screens.size(), 1u);
    const ScreenBlock& s = text.screens[0];
    EXPECT_EQ(s.width, 10);
    EXPECT_EQ(s.sequence, 1);
    EXPECT_EQ(s.speed, 1);
    EXPECT_EQ(s.exit, 255);
    EXPECT_EQ(s.text, "AB");
    EXPECT_EQ(s.attributes, "\x41\x41");
    EXPECT_EQ(s.textWidth, 2);
    EXPECT_EQ(s.padding, 18);
    EXPECT_EQ(s.check, 0xF6);
    EXPECT_TRUE(s.checkOk);
}

TEST(Decoder, ScreenTextElements)
{
    const Bytes zhong = big5("中");
    const Bytes wen = big5("文");
    struct Case
    {
        const char* name;
        std::uint8_t width;
        Bytes wireText;
        Bytes text;
        Bytes attributes;
        int padding;
    } cases[] = {
        {"empty screen", 5, {}, {}, {}, 10},
        {"one double-byte character", 5, hx("01 01") + zhong, zhong, hx("01 01"), 8},
        {"wide character, all-wide flag", 5, hx("21 21") + wen + hx("A1 A1") + wen, wen + wen,
         hx("21 21 A1 A1"), 6},
        {"glyph 49 and glyph 50", 5, hx("01 01 FA 31 01 01 FA 32"), hx("FA 72 FA A1"),
         hx("01 01 01 01"), 6},
        {"green single byte then red double byte", 5, hx("44 58 01 01") + zhong, "X" + zhong,
         hx("44 01 01"), 7},
        {"lone lead byte sent with a zero trail", 5, hx("01 01 A4 00"), hx("A4 00"), hx("01 01"),
         8},
        {"text as wide as the sign, no padding", 1, hx("41 61 41 62"), "ab", hx("41 41"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes block{static_cast<char>(c.width), 7, 3, 17, 0, 2};
        block += c.wireText;
        for (int i = 0; i < c.padding; ++i)
            block += hx("41 20");
        block += hx("03 05 00 00");
        Bytes stream = hx("FF 18 E7 01 00 01 FF 15 EA 00 00 FF 01 FE") + block;
        std::uint8_t check = 0;
        for (unsigned char b : stream)
            check ^= b;
        stream += static_cast<char>(check);
        stream += hx("FF F4 0B");

        const auto ts = decodeTransmissions(stream);
        ASSERT_EQ(ts.size(), 1u);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
        const Frame* f = findFrame(ts, 0x01);
        ASSERT_TRUE(f);
        ASSERT_EQ(f->screens.size(), 1u);
        const ScreenBlock& s = f->screens[0];
        EXPECT_EQ(s.text, c.text);
        EXPECT_EQ(s.attributes, c.attributes);
        EXPECT_EQ(s.padding, c.padding);
        EXPECT_EQ(s.textWidth + s.padding, 2 * c.width);
        EXPECT_EQ(s.stayAgain, 3);
        EXPECT_EQ(s.exit, 5);
    }
}

TEST(Decoder, SeveralScreensAndATextLongerThanTheSign)
{
    // Block check bytes are the running XOR: after the first they are each block's own XOR.
    Bytes stream = hx("FF 80 7F 01 00 01 FF 15 EA 01 01 FF 01 FE");
    auto addBlock = [&stream](std::uint8_t seq, const Bytes& wire) {
        stream += Bytes{5, static_cast<char>(seq), 2, 0, 0, 1} + wire + hx("02 FF 00 00");
        std::uint8_t x = 0;
        for (unsigned char b : stream)
            x ^= b;
        stream += static_cast<char>(x);
    };
    addBlock(1, repeat(hx("41 20"), 10));
    addBlock(2, repeat(hx("41 41"), 12)); // 12 cells on a sign 10 wide
    addBlock(3, repeat(hx("41 20"), 10));
    stream += hx("FF F4 0B");

    const auto ts = decodeTransmissions(stream);
    ASSERT_EQ(ts.size(), 1u);
    const Frame* f = findFrame(ts, 0x01);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->screens.size(), 3u);
    EXPECT_EQ(f->value("畫面數"), "3");
    EXPECT_TRUE(f->checkOk);
    EXPECT_EQ(f->screens[1].text, repeat("A", 12));
    EXPECT_EQ(f->screens[2].sequence, 3);
    EXPECT_TRUE(f->screens[2].checkOk);
    // The long text is read whole but reported.
    EXPECT_FALSE(ts[0].ok());
    EXPECT_EQ(codes(ts[0]).back(), 0xF4);
}

TEST(Decoder, WrongCheckBytesAreFlagged)
{
    struct Case
    {
        const char* name;
        Bytes input;
        const char* expected; // in the listing
    } cases[] = {
        {"screen check byte",
         hx("FF 18 E7 01 00 01 FF 15 EA 00 00 FF 01 FE 0A 01 00 00 00 01 41 41 41 42") +
             repeat(hx("41 20"), 18) + hx("00 FF 00 00 F5 FF F4 0B"),
         "檢查碼 F5 錯誤 (應為 F6)"},
        {"header check byte", hx("FF 18 E7 01 00 02 FF 09 F6 FF F4 0B"),
         "位址標頭檢查碼 02 錯誤 (應為 01)"},
        {"clock check byte",
         hx("FF 18 E7 01 00 01 FF 02 FD 09 03 05 00 04 01 07 00 03 00 04 02 04 02 00 0F FF F4 0B"),
         "檢查碼 0F 錯誤 (應為 0E)"},
        {"BRIGHT check byte", hx("02 42 52 49 47 48 54 31 01 30 01 03"),
         "BRIGHT 檢查碼 01 錯誤 (應為 00)"},
        {"glyph check byte",
         hx("FF 80 7F 01 00 01 FF 03 FC 00 00") + Bytes(32, '\0') + hx("01 FF F4 0B"),
         "檢查碼 01 錯誤 (應為 00)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Transmission> ts;
        ASSERT_NO_THROW(ts = decodeTransmissions(c.input));
        expectCovered(c.input, ts);
        ASSERT_EQ(ts.size(), 1u);
        EXPECT_FALSE(ts[0].ok());
        const std::string listing = formatListing(ts);
        EXPECT_NE(listing.find(c.expected), std::string::npos) << listing;
        EXPECT_NE(listing.find("有錯誤"), std::string::npos);
    }

    // A damaged header puts every running check after it out; the block's own XOR says so.
    Bytes upload = UploadAB;
    upload[5] = '\x02';
    const auto ts = decodeTransmissions(upload);
    ASSERT_EQ(ts.size(), 1u);
    const Frame* f = findFrame(ts, 0x01);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->screens.size(), 1u);
    EXPECT_FALSE(f->screens[0].checkOk);
    EXPECT_EQ(f->screens[0].text, "AB");
    EXPECT_NE(formatListing(ts).find("錯在前面的資料"), std::string::npos);
}

TEST(Decoder, ClockData)
{
    struct Case
    {
        Bytes data;
        const char* date;
        const char* time;
        const char* weekday;
    } cases[] = {
        {hx("09 03 05 00 04 01 07 00 03 00 04 02 04 02 00 0E"), "2024-03-07", "14:05:39", "四"},
        {hx("07 00 05 00 09 00 02 00 01 00 00 00 00 02 00 0A"), "2000-01-02", "09:05:07", "日"},
    };
    for (const auto& c : cases) {
        const auto ts =
            decodeTransmissions(hx("FF 18 E7 01 00 01 FF 02 FD") + c.data + hx("FF F4 0B"));
        ASSERT_EQ(ts.size(), 1u);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
        const Frame* f = findFrame(ts, 0x02);
        ASSERT_TRUE(f && f->clock);
        EXPECT_EQ(f->value("日期"), c.date);
        EXPECT_EQ(f->value("時間"), c.time);
        EXPECT_EQ(f->value("星期"), c.weekday);
    }
}

TEST(Decoder, ScheduleAndTimerOff)
{
    const Bytes unused = hx("08 00 00 00 00 00 00 01 00 00 01 07 00 00 01 01");
    const Bytes header = hx("FF 18 E7 01 00 01");
    const Bytes timerOff = header + hx("FF 10 EF 00 00 FF F4 0B") + header + hx("FF 04 FB") +
                           repeat(unused, 9) + hx("0F FF F4 0B");
    auto ts = decodeTransmissions(timerOff);
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_TRUE(ts[0].ok() && ts[1].ok()) << formatListing(ts);
    EXPECT_EQ(ts[0].frames[0].value("定時"), "關");
    const Frame* table = findFrame(ts, 0x04);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->schedule.size(), 9u);
    EXPECT_FALSE(table->schedule[0].inUse);
    EXPECT_TRUE(table->schedule[0].consistent);

    // Every day 08:00 screens 1–10; every day 17:00 off; Sunday 12:30 screens 5–254.
    const Bytes rows = hx("00 00 08 00 00 00 00 01 00 01 00 08 08 00 01 0A"
                          "00 01 07 00 00 00 00 00 00 00 00 08 11 00 00 00"
                          "07 01 02 03 00 00 00 05 02 05 04 00 0C 1E 05 FE") +
                       repeat(unused, 6);
    std::uint8_t check = 0;
    for (unsigned char b : rows)
        check ^= b;
    const Bytes send = header + hx("FF 10 EF 01 01 FF F4 0B") + header + hx("FF 04 FB") + rows +
                       static_cast<char>(check) + hx("FF F4 0B");
    ts = decodeTransmissions(send);
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_TRUE(ts[1].ok()) << formatListing(ts);
    table = findFrame(ts, 0x04);
    ASSERT_TRUE(table);
    const auto& r = table->schedule;
    EXPECT_TRUE(r[0].inUse);
    EXPECT_EQ(r[0].hour, 8);
    EXPECT_EQ(r[0].last, 10);
    EXPECT_EQ(r[1].hour, 17);
    EXPECT_EQ(r[1].first + r[1].last, 0);
    EXPECT_EQ(r[2].dayChoice, 7);
    EXPECT_EQ(r[2].weekdayCode, 0);
    EXPECT_EQ(r[2].last, 254);
    EXPECT_TRUE(r[2].consistent);
    const std::string listing = formatListing(ts);
    EXPECT_NE(listing.find("每天 08:00 顯示第 1 幕到第 10 幕"), std::string::npos) << listing;
    EXPECT_NE(listing.find("每天 17:00 關閉"), std::string::npos);

    // A row whose digits disagree with its numbers, and a table cut short.
    Bytes bad = rows;
    bad[2] = 9;
    check ^= 8 ^ 9;
    ts = decodeTransmissions(header + hx("FF 04 FB") + bad + static_cast<char>(check) +
                             hx("FF F4 0B"));
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_FALSE(ts[0].frames[0].schedule[0].consistent);
    EXPECT_FALSE(ts[0].ok());
    ts = decodeTransmissions(header + hx("FF 04 FB") + unused + hx("08 FF F4 0B"));
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_EQ(ts[0].frames[0].schedule.size(), 1u);
    EXPECT_EQ(codes(ts[0]), (std::vector<int>{0x04, 0xF4}));
    EXPECT_FALSE(ts[0].ok());
}

TEST(Decoder, InsertMessages)
{
    const Bytes text = big5("插播");
    const Bytes header = hx("FF 18 E7 01 00 01");
    struct Case
    {
        const char* name;
        Bytes frame;
        bool automatic;
        int slot;
        Bytes text;
    } cases[] = {
        {"manual line 3, count 10",
         hx("FF 07 F8 03 0A 20 20") + text + Bytes(10, ' ') + hx("00 00 00"), false, 3, text},
        {"empty manual line", hx("FF 07 F8 01 0A 20 20") + Bytes(10, ' ') + hx("00 00 00"), false,
         1, ""},
        {"automatic slot 0", hx("FF 07 F8 00 05 20") + text + Bytes(14, ' ') + hx("00 00 00"), true,
         0, text},
        {"automatic slot 4", hx("FF 07 F8 04 05 20") + text + Bytes(14, ' ') + hx("00 00 00"), true,
         4, text},
        {"empty automatic row", hx("FF 07 F8 06 05 20") + Bytes(14, ' ') + hx("00 00 00"), true, 6,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // An insert has no end frame: the next transmission follows directly.
        const Bytes input = header + c.frame + SelfTest;
        const auto ts = decodeTransmissions(input);
        expectCovered(input, ts);
        ASSERT_EQ(ts.size(), 2u);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
        ASSERT_EQ(ts[0].frames.size(), 1u);
        const auto& m = ts[0].frames[0].insert;
        ASSERT_TRUE(m);
        EXPECT_EQ(m->automatic, c.automatic);
        EXPECT_EQ(m->slot, c.slot);
        EXPECT_EQ(m->text, c.text);
        EXPECT_EQ(codes(ts[1]), (std::vector<int>{0x09, 0xF4}));
    }
}

TEST(Decoder, GlyphUpload)
{
    for (const int colorSet : {1, 2}) {
        SCOPED_TRACE(colorSet);
        const std::size_t size = colorSet == 1 ? 32 : 64;
        Bytes input = colorSet == 1 ? hx("FF 80 7F") : hx("FF 18 E7");
        input += hx("01 00 01 FF 03 FC");
        for (int i = 0; i < 3; ++i)
            input += Bytes{0, static_cast<char>(i)} + Bytes(size, '\0') + static_cast<char>(i);
        Bytes glyph7(size, '\0');
        glyph7[0] = '\x01';
        input += Bytes{0, 7} + glyph7 + '\x06';
        input += hx("FF F4 0B FF 11 EE 01 01 FF F4 0B");

        const auto ts = decodeTransmissions(input);
        ASSERT_EQ(ts.size(), 1u);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
        EXPECT_EQ(codes(ts[0]), (std::vector<int>{0x03, 0xF4, 0x11, 0xF4}));
        const auto& glyphs = ts[0].frames[0].glyphs;
        ASSERT_EQ(glyphs.size(), 4u);
        EXPECT_EQ(glyphs[3].number, 7);
        EXPECT_EQ(glyphs[3].code, glyph7);
    }
}

TEST(Decoder, BrightFrames)
{
    struct Case
    {
        const char* name;
        Bytes input;
        BrightFrame::Kind kind;
        std::uint8_t mode;
        std::uint8_t value;
    } cases[] = {
        {"query", hx("02 42 52 49 47 48 54 31 01 30 00 03"), BrightFrame::Kind::Query, 0, 0},
        {"unit 1, fixed, 200", hx("02 42 52 49 47 48 54 31 02 31 C8 CA 03"),
         BrightFrame::Kind::SetLevel, '1', 200},
        {"unit 0, automatic, slider 127", hx("02 42 52 49 47 48 54 30 02 32 00 00 03"),
         BrightFrame::Kind::SetLevel, '2', 0},
        {"controller baud after a change to 2400", hx("02 42 52 49 47 48 54 31 02 34 00 07 03"),
         BrightFrame::Kind::SetBaud, '4', 0},
        {"reply, fixed mode, level 0", hx("02 42 52 49 47 48 54 31 31 00 00 03"),
         BrightFrame::Kind::Reply, '1', 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto ts = decodeTransmissions(c.input);
        ASSERT_EQ(ts.size(), 1u);
        EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
        EXPECT_FALSE(ts[0].header);
        ASSERT_EQ(ts[0].frames.size(), 1u);
        const auto& b = ts[0].frames[0].bright;
        ASSERT_TRUE(b);
        EXPECT_EQ(b->kind, c.kind);
        EXPECT_EQ(b->mode, c.mode);
        EXPECT_EQ(b->value, c.value);
        EXPECT_TRUE(b->checkOk && b->etxOk);
    }

    // The serial baud sweep: the change transmission and a BRIGHT frame right after it.
    const auto ts = decodeTransmissions(hx("FF 18 E7 01 00 01 FF 1B E4 01 FF F4 0B") +
                                        hx("02 42 52 49 47 48 54 31 02 34 00 07 03"));
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_TRUE(ts[0].ok() && ts[1].ok());
    EXPECT_EQ(ts[1].frames[0].value("傳輸率"), "2400");
}

TEST(Decoder, PreambleDataFileAndLineEnds)
{
    const Bytes preamble(30, '0');
    auto ts = decodeTransmissions(preamble + SelfTest + preamble + SelfTest);
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_TRUE(ts[0].preamble && ts[1].preamble);
    EXPECT_TRUE(ts[0].ok() && ts[1].ok());
    EXPECT_EQ(ts[1].offset, 42u);

    const Bytes file = "002400" + Bytes(54, '0') + UploadAB + "\r\n";
    EXPECT_EQ(dataFileBaud(file), 2400);
    ts = decodeTransmissions(file);
    expectCovered(file, ts);
    ASSERT_EQ(ts.size(), 1u);
    EXPECT_EQ(ts[0].fileBaud, 2400);
    EXPECT_EQ(ts[0].offset, 60u);
    EXPECT_TRUE(ts[0].lineEnd);
    EXPECT_TRUE(ts[0].ok()) << formatListing(ts);
    EXPECT_EQ(formatListing(ts).rfind("傳送資料檔：鮑率 2400\n", 0), 0u);

    // The network upload: preamble, stream, CR LF, once per device server.
    const Bytes net = preamble + UploadAB + "\r\n";
    ts = decodeTransmissions(net + net);
    expectCovered(net + net, ts);
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_TRUE(ts[1].preamble && ts[1].lineEnd && ts[1].ok());
    EXPECT_FALSE(ts[0].fileBaud);

    EXPECT_FALSE(dataFileBaud("002400" + Bytes(53, '0') + "1"));
    EXPECT_FALSE(dataFileBaud(Bytes(59, '0')));
}

TEST(Decoder, UnknownAndMissingBytes)
{
    struct Case
    {
        const char* name;
        Bytes input;
        const char* expected;
    } cases[] = {
        {"stray bytes between frames", hx("FF 18 E7 01 00 01 FF 09 F6 AB CD FF F4 0B"),
         "未知位元組，位移 9：AB CD"},
        {"unknown command", hx("FF 18 E7 01 00 01 FF 42 BD FF F4 0B"), "未知指令 42"},
        {"no end frame", hx("FF 18 E7 01 00 01 FF 09 F6"), "缺少結束傳送"},
        {"no header", hx("FF 09 F6 FF F4 0B"), "缺少位址標頭"},
        {"cut inside the unit list", hx("FF 18 E7 03 01 02"), "位址標頭不完整"},
        {"sign width without its byte", hx("FF 18 E7 01 00 01 FF 1A E5 FF F4 0B"), "缺少字數"},
        {"cut inside the clock data", hx("FF 18 E7 01 00 01 FF 02 FD 09 03"), "資料不完整"},
        {"cut inside a screen", Bytes(UploadAB, 0, 30), "畫面文字不完整"},
        {"screen cut before its trailer, end frame follows",
         Bytes(UploadAB, 0, 24) + repeat(hx("41 20"), 18) + hx("FF F4 0B"), "畫面區塊缺少結尾"},
        {"insert without its terminator", hx("FF 18 E7 01 00 01 FF 07 F8 01 0A 20 20 41"),
         "缺少結尾 00 00 00"},
        {"garbage only", hx("12 34 56"), "未知位元組，位移 0：12 34 56"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto ts = decodeTransmissions(c.input);
        expectCovered(c.input, ts);
        ASSERT_FALSE(ts.empty());
        bool anyBad = false;
        for (const auto& t : ts)
            anyBad = anyBad || !t.ok();
        EXPECT_TRUE(anyBad);
        const std::string listing = formatListing(ts);
        EXPECT_NE(listing.find(c.expected), std::string::npos) << listing;
    }

    // After the stray bytes the end frame is still found.
    const auto ts = decodeTransmissions(hx("FF 18 E7 01 00 01 FF 09 F6 AB CD FF F4 0B") + SelfTest);
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_EQ(codes(ts[0]), (std::vector<int>{0x09, -1, 0xF4}));
    EXPECT_EQ(ts[0].frames[1].payload, hx("AB CD"));
    EXPECT_TRUE(ts[1].ok());
}

TEST(Decoder, ListingNamesEveryPart)
{
    const std::string listing = formatListing(decodeTransmissions(Bytes(30, '0') + UploadAB));
    for (const char* part : {"傳輸 1：位移 0，98 位元組", "喚醒前導", "彩色字幕機，台數 1，台號 0",
                             "FF 15 EA 00 00  覆蓋/附加 (15)：模式 覆蓋模式", "傳送文字 (01)",
                             "畫面 序號 1", "文字 41 41 41 42：「AB」", "補白 18 格",
                             "離開 255 (續幕)，檢查碼 F6 正確", "結束傳送 (F4)"})
        EXPECT_NE(listing.find(part), std::string::npos) << part << "\n" << listing;
}

// Random and damaged input: the decoder must account for every byte and never fail.
TEST(Decoder, SurvivesRandomAndDamagedInput)
{
    std::mt19937 rng(20240307);
    const Bytes seeds[] = {
        SelfTest,
        UploadAB,
        Bytes(30, '0') + UploadAB + "\r\n",
        "002400" + Bytes(54, '0') + UploadAB + "\r\n",
        hx("FF 80 7F 01 00 01 FF 03 FC 00 00") + Bytes(32, '\0') + hx("00 FF F4 0B"),
        hx("FF 18 E7 01 00 01 FF 07 F8 03 0A 20 20 41 42") + Bytes(10, ' ') + hx("00 00 00"),
        hx("02 42 52 49 47 48 54 31 02 31 C8 CA 03"),
        hx("FF 18 E7 01 00 01 FF 04 FB") +
            repeat(hx("08 00 00 00 00 00 00 01 00 00 01 07 00 00 01 01"), 9) + hx("0F FF F4 0B"),
    };
    // Bytes the formats are made of, so random strings often look like frames.
    const Bytes alphabet = hx("FF 18 E7 80 7F 00 01 02 03 F4 0B 30 41 20 FA A4 0D 0A 31 34");
    for (int round = 0; round < 3000; ++round) {
        Bytes input;
        if (round % 3 == 0) {
            const std::size_t n = rng() % 300;
            for (std::size_t i = 0; i < n; ++i)
                input += rng() % 2 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        } else {
            input = seeds[rng() % std::size(seeds)];
            if (round % 3 == 2)
                input += seeds[rng() % std::size(seeds)];
            const int edits = 1 + static_cast<int>(rng() % 4);
            for (int e = 0; e < edits && !input.empty(); ++e) {
                const std::size_t at = rng() % input.size();
                switch (rng() % 3) {
                case 0:
                    input[at] = static_cast<char>(rng());
                    break;
                case 1:
                    input.erase(at, 1 + rng() % 8);
                    break;
                default:
                    input.resize(at);
                    break;
                }
            }
        }
        SCOPED_TRACE(hexDump(input));
        std::vector<Transmission> ts;
        ASSERT_NO_THROW(ts = decodeTransmissions(input));
        expectCovered(input, ts);
        if (!input.empty()) {
            EXPECT_FALSE(formatListing(ts).empty());
        }
    }
}

} // namespace
} // namespace led
