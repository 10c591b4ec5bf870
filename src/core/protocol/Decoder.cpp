#include "core/protocol/Decoder.h"

#include "core/document/CodeTables.h"
#include "core/protocol/Frames.h"
#include "core/text/Attributes.h"
#include "core/text/Cp950.h"

#include <algorithm>
#include <cstdio>

namespace led {
namespace {

constexpr std::size_t PreambleLength = 30;
constexpr std::size_t BaudDigits = 6;
constexpr std::size_t DataFileHeadLength = 60; // 6 digits and 54 "0"
constexpr std::uint8_t Etx = 0x03;
constexpr std::string_view BrightTag{"\x02"
                                     "BRIGHT",
                                     7};
constexpr int ScheduleRowCount = 9;
constexpr std::size_t ScheduleRowLength = 16;
constexpr std::size_t ClockLength = 15;
constexpr std::size_t ManualLead = 2, ManualTrail = 10;
constexpr std::size_t AutoLead = 1, AutoTrail = 14;
constexpr std::size_t MonoCodeLength = 32, ColourCodeLength = 64;
// How far past twice the sign width a screen's text is looked for before its block counts
// as damaged; it bounds the work on hostile input.
constexpr std::size_t TextOverrunLimit = 1024;
// Longest body of an unknown BRIGHT frame that is looked for.
constexpr std::size_t BrightBodyLimit = 32;
// Unknown runs longer than this are shown cut short.
constexpr std::size_t ShownUnknownBytes = 64;

std::string hex(std::string_view bytes)
{
    return hexText(bytes);
}

std::string hex(std::uint8_t b)
{
    const char c = static_cast<char>(b);
    return hex(std::string_view(&c, 1));
}

std::string num(long long n)
{
    return std::to_string(n);
}

std::string checkText(std::uint8_t got, std::uint8_t want)
{
    return got == want ? hex(got) + " 正確" : hex(got) + " 錯誤 (應為 " + hex(want) + ")";
}

std::string weekdayName(int d)
{
    static const char* const names[] = {"日", "一", "二", "三", "四", "五", "六"};
    return d >= 0 && d < 7 ? names[d] : "?(" + num(d) + ")";
}

std::string dayChoiceName(int choice)
{
    static const char* const names[] = {"每天",   "星期一", "星期二", "星期三",
                                        "星期四", "星期五", "星期六", "星期日"};
    return choice >= 0 && choice < 8 ? names[choice] : "不明(" + num(choice) + ")";
}

// Schedule byte 12 from the day choice of byte 1.
int weekdayCodeOf(int dayChoice)
{
    if (dayChoice == 0)
        return 8;
    if (dayChoice == 7)
        return 0;
    return dayChoice;
}

std::string baudCodeName(int code)
{
    switch (code) {
    case 0:
        return "1200";
    case 1:
        return "2400";
    case 2:
        return "4800";
    case 3:
        return "9600/19200/38400";
    default:
        return "不明";
    }
}

std::string commandName(std::uint8_t code)
{
    if (code == CmdMonoPrefix)
        return "單色字幕機標頭";
    if (const CommandInfo* c = findCommand(code))
        return c->name;
    return "未知指令";
}

// "1, 3, 5–9" for a list of unit numbers.
std::string unitRanges(const std::vector<int>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size();) {
        std::size_t j = i;
        while (j + 1 < units.size() && units[j + 1] == units[j] + 1)
            ++j;
        if (!out.empty())
            out += ", ";
        out += num(units[i]);
        if (j > i)
            out += "–" + num(units[j]);
        i = j + 1;
    }
    return out.empty() ? "無" : out;
}

std::string unknownBytesText(std::size_t offset, std::string_view bytes)
{
    std::string shown = hex(bytes.substr(0, ShownUnknownBytes));
    if (bytes.size() > ShownUnknownBytes)
        shown += " …(共 " + num(static_cast<long long>(bytes.size())) + " 位元組)";
    return "未知位元組，位移 " + num(static_cast<long long>(offset)) + "：" + shown;
}

void addField(Frame& f, std::string name, std::string value)
{
    f.fields.push_back({std::move(name), std::move(value)});
}

class Parser
{
public:
    Parser(std::string_view in, std::size_t begin) : m_in(in), m_begin(begin), m_xor(in.size() + 1)
    {
        for (std::size_t i = 0; i < in.size(); ++i)
            m_xor[i + 1] = m_xor[i] ^ at(i);
    }

    std::vector<Transmission> run();

private:
    std::size_t size() const { return m_in.size(); }
    // Callers check has() first.
    std::uint8_t at(std::size_t i) const { return static_cast<std::uint8_t>(m_in[i]); }
    bool has(std::size_t pos, std::size_t n) const
    {
        return pos <= m_in.size() && n <= m_in.size() - pos;
    }
    std::uint8_t xorOf(std::size_t from, std::size_t to) const { return m_xor[to] ^ m_xor[from]; }
    Bytes slice(std::size_t from, std::size_t to) const
    {
        return Bytes(m_in.substr(from, to - from));
    }

    bool frameStartAt(std::size_t pos) const;
    bool endFrameAt(std::size_t pos) const;
    bool preambleAt(std::size_t pos) const;
    bool brightAt(std::size_t pos) const;
    bool prefixAt(std::size_t pos) const;
    bool lineEndAt(std::size_t pos) const;
    bool boundaryAt(std::size_t pos) const;
    bool strictUnitListAt(std::size_t pos) const;
    bool startsTransmission(std::size_t pos) const;
    bool blockListEndsAt(std::size_t pos) const;
    bool zerosAt(std::size_t pos, std::size_t n) const;
    std::size_t findZeros(std::size_t from, std::size_t n, std::size_t& stop) const;

    AddressHeader unitList(std::size_t headerStart, std::size_t pos) const;
    Transmission transmission(std::size_t& pos);
    void finish(Transmission& t, std::size_t pos) const;
    Frame unknownRun(std::size_t& pos) const;
    Frame brightFrame(std::size_t& pos) const;
    Frame commandFrame(std::size_t& pos) const;

    bool takeFixed(std::size_t p, std::size_t n, Frame& f) const;
    std::size_t screenBlocks(std::size_t p, Frame& f) const;
    std::size_t screenBlock(std::size_t p, ScreenBlock& s) const;
    std::size_t textCell(std::size_t p, TextCell& c) const;
    bool trailerFits(std::size_t q, std::uint8_t stay, std::size_t blockStart) const;
    std::size_t glyphBlocks(std::size_t p, Frame& f) const;
    std::size_t glyphBlock(std::size_t p, GlyphBlock& g) const;
    std::size_t clockData(std::size_t p, Frame& f) const;
    std::size_t scheduleTable(std::size_t p, Frame& f) const;
    std::size_t insertMessage(std::size_t p, Frame& f) const;
    std::size_t switchPair(std::size_t p, Frame& f) const;
    std::size_t signWidth(std::size_t p, Frame& f) const;
    std::size_t baudCode(std::size_t p, Frame& f) const;
    std::size_t newsCount(std::size_t p, Frame& f) const;
    std::size_t newsItem(std::size_t p, Frame& f) const;

    std::string_view m_in;
    std::size_t m_begin;
    std::vector<std::uint8_t> m_xor; // m_xor[i]: XOR of the first i bytes
    // Per transmission: where its check sums start, and the sign type its header names.
    std::size_t m_streamStart = 0;
    int m_colorSet = 0;
};

bool Parser::frameStartAt(std::size_t pos) const
{
    return has(pos, 3) && at(pos) == 0xFF && at(pos + 2) == (at(pos + 1) ^ 0xFF);
}

bool Parser::endFrameAt(std::size_t pos) const
{
    return frameStartAt(pos) && at(pos + 1) == CmdEnd;
}

bool Parser::preambleAt(std::size_t pos) const
{
    if (!has(pos, PreambleLength))
        return false;
    for (std::size_t i = 0; i < PreambleLength; ++i)
        if (at(pos + i) != '0')
            return false;
    return true;
}

bool Parser::brightAt(std::size_t pos) const
{
    return has(pos, BrightTag.size()) && m_in.substr(pos, BrightTag.size()) == BrightTag;
}

bool Parser::prefixAt(std::size_t pos) const
{
    return frameStartAt(pos) && (at(pos + 1) == CmdColourPrefix || at(pos + 1) == CmdMonoPrefix);
}

bool Parser::lineEndAt(std::size_t pos) const
{
    return has(pos, 2) && at(pos) == 0x0D && at(pos + 1) == 0x0A;
}

bool Parser::boundaryAt(std::size_t pos) const
{
    return frameStartAt(pos) || preambleAt(pos) || brightAt(pos);
}

// A header without prefix is only believed where its check byte holds and a frame follows.
bool Parser::strictUnitListAt(std::size_t pos) const
{
    if (frameStartAt(pos))
        return false;
    const AddressHeader h = unitList(pos, pos);
    return h.complete && h.checkOk && frameStartAt(pos + h.raw.size());
}

bool Parser::startsTransmission(std::size_t pos) const
{
    return preambleAt(pos) || brightAt(pos) || prefixAt(pos) || strictUnitListAt(pos);
}

bool Parser::blockListEndsAt(std::size_t pos) const
{
    return boundaryAt(pos) || (lineEndAt(pos) && pos + 2 == size());
}

bool Parser::zerosAt(std::size_t pos, std::size_t n) const
{
    if (!has(pos, n))
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (at(pos + i) != 0)
            return false;
    return true;
}

// Where a run of n zero bytes starts, looking no further than the next frame or
// transmission; npos when there is none, and stop tells where the search ended.
std::size_t Parser::findZeros(std::size_t from, std::size_t n, std::size_t& stop) const
{
    for (std::size_t q = from; q < size(); ++q) {
        if (boundaryAt(q)) {
            stop = q;
            return std::string_view::npos;
        }
        if (zerosAt(q, n))
            return q;
    }
    stop = size();
    return std::string_view::npos;
}

AddressHeader Parser::unitList(std::size_t headerStart, std::size_t pos) const
{
    AddressHeader h;
    h.offset = headerStart;
    if (!has(pos, 1)) {
        h.raw = slice(headerStart, size());
        return h;
    }
    h.countByte = at(pos);
    std::size_t n = h.countByte;
    // 256 units do not fit the count byte; they are told from none by what follows.
    if (n == 0 && has(pos, 3) && at(pos + 1) == 0 && at(pos + 2) == 1)
        n = 256;
    const std::size_t unitsEnd = std::min(pos + 1 + n, size());
    for (std::size_t i = pos + 1; i < unitsEnd; ++i) {
        const int unit = at(i);
        if (!h.units.empty() && unit <= h.units.back())
            h.ascending = false;
        h.units.push_back(unit);
    }
    std::size_t end = unitsEnd;
    if (has(pos, n + 2)) {
        h.complete = true;
        h.check = at(pos + 1 + n);
        h.expectedCheck = xorOf(pos, pos + 1 + n);
        h.checkOk = h.check == h.expectedCheck;
        end = pos + n + 2;
    }
    h.raw = slice(headerStart, end);
    return h;
}

std::vector<Transmission> Parser::run()
{
    std::vector<Transmission> out;
    std::size_t pos = m_begin;
    while (pos < size()) {
        const std::size_t before = pos;
        Transmission t = transmission(pos);
        if (pos <= before) { // never expected; keeps the loop finite whatever happens
            pos = before + 1;
            t.length = pos - t.offset;
        }
        // A line end on its own closes the transmission before it.
        const bool onlyLineEnd = t.lineEnd && !t.preamble && !t.header && t.frames.empty();
        if (onlyLineEnd && !out.empty() && !out.back().lineEnd) {
            out.back().lineEnd = true;
            out.back().length += t.length;
            continue;
        }
        out.push_back(std::move(t));
    }
    return out;
}

Transmission Parser::transmission(std::size_t& pos)
{
    Transmission t;
    t.offset = pos;
    if (preambleAt(pos)) {
        t.preamble = true;
        pos += PreambleLength;
    }
    m_streamStart = pos;
    m_colorSet = 0;

    if (brightAt(pos)) {
        t.frames.push_back(brightFrame(pos));
        if (lineEndAt(pos)) {
            t.lineEnd = true;
            pos += 2;
        }
        finish(t, pos);
        return t;
    }

    if (prefixAt(pos)) {
        t.header = unitList(pos, pos + 3);
        t.header->colorSet = at(pos + 1) == CmdMonoPrefix ? 1 : 2;
    } else if (!frameStartAt(pos) && pos < size()) {
        AddressHeader h = unitList(pos, pos);
        const std::size_t next = pos + h.raw.size();
        const bool believable = h.complete && (frameStartAt(next) ||
                                               (h.checkOk && (next == size() || lineEndAt(next))));
        if (believable)
            t.header = std::move(h);
    }
    if (t.header) {
        m_colorSet = t.header->colorSet;
        pos += t.header->raw.size();
    }

    while (pos < size()) {
        if (pos > t.offset && startsTransmission(pos))
            break;
        if (lineEndAt(pos)) {
            t.lineEnd = true;
            pos += 2;
            break;
        }
        if (frameStartAt(pos))
            t.frames.push_back(commandFrame(pos));
        else
            t.frames.push_back(unknownRun(pos));
    }
    finish(t, pos);
    return t;
}

void Parser::finish(Transmission& t, std::size_t pos) const
{
    t.length = pos - t.offset;
    if (const auto& h = t.header) {
        if (!h->complete)
            t.problems.push_back("位址標頭不完整");
        else if (!h->checkOk)
            t.problems.push_back("位址標頭檢查碼 " + checkText(h->check, h->expectedCheck));
        if (!h->ascending)
            t.problems.push_back("台號沒有由小到大排列");
    }
    const Frame* lastCommand = nullptr;
    for (const auto& f : t.frames)
        if (f.kind == Frame::Kind::Command)
            lastCommand = &f;
    if (!lastCommand)
        return;
    if (!t.header)
        t.problems.push_back("缺少位址標頭");
    if (closedByEndFrame(lastCommand->code) && lastCommand->code != CmdEnd)
        t.problems.push_back("缺少結束傳送 FF F4 0B");
}

Frame Parser::unknownRun(std::size_t& pos) const
{
    Frame f;
    f.kind = Frame::Kind::Unknown;
    f.offset = pos;
    f.name = "未知位元組";
    std::size_t q = pos + 1;
    while (q < size() && !boundaryAt(q) &&
           !(lineEndAt(q) && (q + 2 == size() || startsTransmission(q + 2))))
        ++q;
    f.raw = f.payload = slice(pos, q);
    f.problems.push_back(unknownBytesText(pos, f.raw));
    pos = q;
    return f;
}

Frame Parser::brightFrame(std::size_t& pos) const
{
    Frame f;
    f.kind = Frame::Kind::Bright;
    f.offset = pos;
    f.name = "亮度控制 BRIGHT";
    BrightFrame b;
    const std::size_t body = pos + BrightTag.size();
    std::size_t bodyLength = 0;
    if (has(body, 2)) {
        const std::uint8_t function = at(body + 1);
        if (function == 0x01) {
            b.kind = BrightFrame::Kind::Query;
            bodyLength = 3;
        } else if (function == 0x02) {
            b.kind = has(body, 3) && at(body + 2) == '4' ? BrightFrame::Kind::SetBaud
                                                         : BrightFrame::Kind::SetLevel;
            bodyLength = 4;
        } else if (function == '1' || function == '2') {
            b.kind = BrightFrame::Kind::Reply;
            bodyLength = 3;
        }
    }
    if (b.kind == BrightFrame::Kind::Unknown) {
        for (std::size_t n = 1; n <= BrightBodyLimit && has(body, n + 2); ++n)
            if (at(body + n + 1) == Etx && at(body + n) == xorOf(body, body + n)) {
                bodyLength = n;
                break;
            }
        if (bodyLength == 0) {
            f.problems.push_back("無法辨識的 BRIGHT 內容");
            f.raw = slice(pos, body);
            pos = body;
            f.bright = b;
            f.checkOk = false;
            return f;
        }
    }

    std::size_t end = size();
    if (!has(body, bodyLength + 2)) {
        f.problems.push_back("BRIGHT 框架不完整");
        f.checkOk = false;
        b.body = slice(body, std::min(body + bodyLength, size()));
    } else {
        b.body = slice(body, body + bodyLength);
        b.check = at(body + bodyLength);
        b.expectedCheck = xorOf(body, body + bodyLength);
        b.checkOk = b.check == b.expectedCheck;
        b.etxOk = at(body + bodyLength + 1) == Etx;
        end = body + bodyLength + (b.etxOk ? 2 : 1);
        if (!b.checkOk) {
            f.checkOk = false;
            f.problems.push_back("BRIGHT 檢查碼 " + checkText(b.check, b.expectedCheck));
        }
        if (!b.etxOk)
            f.problems.push_back("缺少 ETX (03)");
    }
    if (!b.body.empty())
        b.unit = static_cast<std::uint8_t>(b.body[0]);
    // A reply has no function byte: its mode follows the unit digit.
    const bool reply = b.kind == BrightFrame::Kind::Reply;
    const bool setting =
        b.kind == BrightFrame::Kind::SetLevel || b.kind == BrightFrame::Kind::SetBaud;
    if ((reply && b.body.size() >= 3) || (setting && b.body.size() >= 4)) {
        b.mode = static_cast<std::uint8_t>(b.body[reply ? 1 : 2]);
        b.value = static_cast<std::uint8_t>(b.body[reply ? 2 : 3]);
    }

    if (!b.body.empty()) {
        const bool digit = b.unit >= '0' && b.unit <= '9';
        addField(f, "台號", digit ? std::string(1, static_cast<char>(b.unit)) : hex(b.unit));
        if (!digit)
            f.problems.push_back("台號不是數字 0–9");
    }
    auto modeName = [](std::uint8_t m) {
        return m == '1' ? std::string("固定模式") : m == '2' ? std::string("自動模式") : hex(m);
    };
    switch (b.kind) {
    case BrightFrame::Kind::Query:
        addField(f, "功能", "查詢亮度");
        break;
    case BrightFrame::Kind::SetLevel:
        addField(f, "功能", "設定亮度");
        addField(f, "模式", modeName(b.mode));
        addField(f, "亮度", num(b.value));
        break;
    case BrightFrame::Kind::SetBaud:
        addField(f, "功能", "設定控制器傳輸率");
        addField(f, "傳輸率代碼", num(b.value + 1));
        addField(f, "傳輸率", baudCodeName(b.value + 1));
        break;
    case BrightFrame::Kind::Reply:
        addField(f, "功能", "亮度回覆");
        addField(f, "模式", modeName(b.mode));
        addField(f, "亮度", num(b.value));
        break;
    case BrightFrame::Kind::Unknown:
        addField(f, "功能", "不明");
        break;
    }
    if (has(body, bodyLength + 2))
        addField(f, "檢查碼", checkText(b.check, b.expectedCheck));
    f.raw = slice(pos, end);
    f.payload = b.body;
    f.bright = std::move(b);
    pos = end;
    return f;
}

Frame Parser::commandFrame(std::size_t& pos) const
{
    Frame f;
    f.offset = pos;
    f.code = at(pos + 1);
    f.name = commandName(f.code);
    std::size_t p = pos + 3;
    switch (f.code) {
    case CmdText:
        p = screenBlocks(p, f);
        break;
    case CmdDateTime:
        p = clockData(p, f);
        break;
    case CmdGlyphs:
        p = glyphBlocks(p, f);
        break;
    case CmdSchedule:
        p = scheduleTable(p, f);
        break;
    case CmdUnitNumber:
        if (takeFixed(p, 1, f)) {
            addField(f, "新台號", num(at(p)));
            p += 1;
        } else {
            p = size();
        }
        break;
    case CmdInsert:
        p = insertMessage(p, f);
        break;
    case CmdTimerSwitch:
    case CmdPower:
    case CmdMode:
        p = switchPair(p, f);
        break;
    case CmdWidth:
        p = signWidth(p, f);
        break;
    case CmdBaud:
        p = baudCode(p, f);
        break;
    case CmdNewsCount:
        p = newsCount(p, f);
        break;
    case CmdNewsData:
        p = newsItem(p, f);
        break;
    case CmdVersion:
    case CmdReset:
    case CmdSelfTest:
    case CmdEnd:
        break;
    case CmdInsertLength:
    case CmdReturnUnit:
    case CmdRomCopy:
    case CmdIoShow:
        addField(f, "內容", "不明 (本程式不送此指令)");
        break;
    default:
        f.problems.push_back("未知指令 " + hex(f.code));
        break;
    }
    f.raw = slice(pos, p);
    f.payload = slice(pos + 3, p);
    pos = p;
    return f;
}

bool Parser::takeFixed(std::size_t p, std::size_t n, Frame& f) const
{
    if (has(p, n))
        return true;
    f.problems.push_back("資料不完整：需要 " + num(static_cast<long long>(n)) + " 位元組，只有 " +
                         num(static_cast<long long>(size() - std::min(p, size()))));
    return false;
}

std::size_t Parser::screenBlocks(std::size_t p, Frame& f) const
{
    while (p < size() && !blockListEndsAt(p)) {
        ScreenBlock s;
        p = screenBlock(p, s);
        if (!s.checkOk)
            f.checkOk = false;
        f.screens.push_back(std::move(s));
    }
    addField(f, "畫面數", num(static_cast<long long>(f.screens.size())));
    return p;
}

// 0 when the bytes at p cannot start a cell (too few, or a frame begins there).
std::size_t Parser::textCell(std::size_t p, TextCell& c) const
{
    if (!has(p, 2) || boundaryAt(p))
        return 0;
    c.offset = p;
    const std::uint8_t a = at(p);
    if (a & AttrSingleByte) {
        c.kind = TextCell::Kind::Single;
        c.wire = slice(p, p + 2);
        return 2;
    }
    if (has(p, 4) && at(p + 1) == a && isElementLead(at(p + 2))) {
        c.wire = slice(p, p + 4);
        if (at(p + 2) == GlyphLeadByte) {
            c.kind = TextCell::Kind::Glyph;
            c.glyph = at(p + 3);
        } else {
            c.kind = TextCell::Kind::Double;
        }
        return 4;
    }
    c.kind = TextCell::Kind::Damaged;
    c.wire = slice(p, p + 2);
    return 2;
}

bool Parser::trailerFits(std::size_t q, std::uint8_t stay, std::size_t blockStart) const
{
    if (!has(q, 5) || at(q) != stay || at(q + 2) != 0 || at(q + 3) != 0)
        return false;
    const std::uint8_t check = at(q + 4);
    return check == xorOf(m_streamStart, q + 4) || check == xorOf(blockStart, q + 4);
}

int cellWidth(const TextCell& c)
{
    return c.kind == TextCell::Kind::Double || c.kind == TextCell::Kind::Glyph ? 2 : 1;
}

void buildText(ScreenBlock& s)
{
    for (const auto& c : s.cells) {
        const std::string off = "位移 " + num(static_cast<long long>(c.offset)) + "：";
        switch (c.kind) {
        case TextCell::Kind::Single:
        case TextCell::Kind::Damaged:
            s.attributes += c.wire[0];
            s.text += c.wire[1];
            if (c.kind == TextCell::Kind::Damaged)
                s.problems.push_back(off + "無法辨識的文字位元組 " + hex(c.wire));
            else if (isElementLead(static_cast<std::uint8_t>(c.wire[1])))
                s.problems.push_back(off + "單字元的字碼 " + hex(c.wire.substr(1, 1)) +
                                     " 是雙字元的首碼");
            break;
        case TextCell::Kind::Double:
            s.attributes += c.wire.substr(0, 2);
            s.text += c.wire.substr(2, 2);
            break;
        case TextCell::Kind::Glyph:
            s.attributes += c.wire.substr(0, 2);
            s.text += static_cast<char>(GlyphLeadByte);
            s.text += static_cast<char>(glyphCode(c.glyph));
            if (!isGlyphNumber(c.glyph))
                s.problems.push_back(off + "圖形編號 " + num(c.glyph) + " 超出 0–99");
            if (c.wire.substr(0, 2) != "\x01\x01")
                s.problems.push_back(off + "圖形的屬性不是 01 01");
            break;
        }
    }
}

std::size_t Parser::screenBlock(std::size_t p, ScreenBlock& s) const
{
    s.offset = p;
    if (!has(p, 6)) {
        s.raw = slice(p, size());
        s.problems.push_back("畫面區塊不完整");
        return size();
    }
    s.width = at(p);
    s.sequence = at(p + 1);
    s.stay = at(p + 2);
    s.entry = at(p + 3);
    s.split = at(p + 4);
    s.speed = at(p + 5);

    const int target = 2 * s.width;
    std::vector<TextCell> cells;
    int width = 0;
    std::size_t q = p + 6;
    bool complete = true;
    while (width < target) {
        TextCell c;
        const std::size_t n = textCell(q, c);
        if (n == 0) {
            complete = false;
            break;
        }
        width += cellWidth(c);
        cells.push_back(std::move(c));
        q += n;
    }
    // A text longer than twice the width (a hand-made file) still ends in a trailer whose
    // check byte holds; look for it before taking the block as damaged.
    if (complete && !trailerFits(q, s.stay, p)) {
        std::vector<TextCell> more;
        int moreWidth = 0;
        for (std::size_t r = q; r - q < TextOverrunLimit;) {
            TextCell c;
            const std::size_t n = textCell(r, c);
            if (n == 0)
                break;
            moreWidth += cellWidth(c);
            more.push_back(std::move(c));
            r += n;
            if (trailerFits(r, s.stay, p)) {
                cells.insert(cells.end(), more.begin(), more.end());
                width += moreWidth;
                q = r;
                break;
            }
        }
    }

    std::size_t padStart = cells.size();
    while (padStart > 0 && cells[padStart - 1].kind == TextCell::Kind::Single &&
           cells[padStart - 1].wire == "\x41\x20")
        --padStart;
    s.padding = static_cast<int>(cells.size() - padStart);
    s.textWidth = width - s.padding;
    cells.resize(padStart);
    s.cells = std::move(cells);
    buildText(s);
    if (width > target)
        s.problems.push_back("文字寬度 " + num(width) + " 超過兩倍字數 " + num(target));

    if (!complete || boundaryAt(q) || !has(q, 5)) {
        const std::size_t end = complete && !boundaryAt(q) ? size() : q;
        s.problems.push_back(complete ? "畫面區塊缺少結尾" : "畫面文字不完整");
        s.raw = slice(p, end);
        return end;
    }
    s.stayAgain = at(q);
    s.exit = at(q + 1);
    s.tail = slice(q + 2, q + 4);
    s.check = at(q + 4);
    s.expectedCheck = xorOf(m_streamStart, q + 4);
    s.checkOk = s.check == s.expectedCheck;
    if (s.stayAgain != s.stay)
        s.problems.push_back("第二個停留時間 " + num(s.stayAgain) + " 與 " + num(s.stay) + " 不同");
    if (s.tail != Bytes(2, '\0'))
        s.problems.push_back("結尾應為 00 00，收到 " + hex(s.tail));
    if (!s.checkOk) {
        std::string text = "檢查碼 " + checkText(s.check, s.expectedCheck);
        if (s.check == xorOf(p, q + 4))
            text += "；與本區塊的 XOR 相符，錯在前面的資料";
        s.problems.push_back(text);
    }
    s.raw = slice(p, q + 5);
    return q + 5;
}

std::size_t Parser::glyphBlocks(std::size_t p, Frame& f) const
{
    while (p < size() && !blockListEndsAt(p) && at(p) == 0) {
        GlyphBlock g;
        p = glyphBlock(p, g);
        if (!g.checkOk)
            f.checkOk = false;
        f.glyphs.push_back(std::move(g));
    }
    addField(f, "圖形數", num(static_cast<long long>(f.glyphs.size())));
    return p;
}

std::size_t Parser::glyphBlock(std::size_t p, GlyphBlock& g) const
{
    g.offset = p;
    g.lead = at(p);
    const std::size_t expected = m_colorSet == 1 ? MonoCodeLength : ColourCodeLength;
    const std::size_t other = m_colorSet == 1 ? ColourCodeLength : MonoCodeLength;
    auto fits = [&](std::size_t n) {
        return has(p, n + 3) && at(p + 2 + n) == xorOf(p, p + 2 + n);
    };
    std::size_t n = expected;
    if (!fits(expected) && fits(other)) {
        n = other;
        g.problems.push_back("圖形資料 " + num(static_cast<long long>(n)) +
                             " 位元組，與字幕機種類不符");
    }
    if (!has(p, n + 3)) {
        if (has(p, 2))
            g.number = at(p + 1);
        g.code = slice(std::min(p + 2, size()), size());
        g.problems.push_back("圖形區塊不完整");
        return size();
    }
    g.number = at(p + 1);
    g.code = slice(p + 2, p + 2 + n);
    g.check = at(p + 2 + n);
    g.expectedCheck = xorOf(p, p + 2 + n);
    g.checkOk = g.check == g.expectedCheck;
    if (!isGlyphNumber(g.number))
        g.problems.push_back("圖形編號 " + num(g.number) + " 超出 0–99");
    if (!g.checkOk)
        g.problems.push_back("檢查碼 " + checkText(g.check, g.expectedCheck));
    return p + n + 3;
}

std::size_t Parser::clockData(std::size_t p, Frame& f) const
{
    if (!takeFixed(p, ClockLength + 1, f)) {
        f.checkOk = false;
        return size();
    }
    ClockData c;
    auto digit = [&](std::size_t i) {
        const int d = at(p + i);
        if (d > 9)
            c.digitsOk = false;
        return d;
    };
    c.second = digit(0) + 10 * digit(1);
    c.minute = digit(2) + 10 * digit(3);
    c.hour = digit(4) + 10 * digit(5);
    c.day = digit(6) + 10 * digit(7);
    c.month = digit(8) + 10 * digit(9);
    c.weekday = at(p + 12);
    // The century comes last and thousands first, the other way round from every pair.
    c.year = 1000 * digit(13) + 100 * digit(14) + digit(10) + 10 * digit(11);
    c.check = at(p + ClockLength);
    c.expectedCheck = xorOf(p, p + ClockLength);
    c.checkOk = c.check == c.expectedCheck;

    char date[64];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", c.year, c.month, c.day);
    char time[64];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    addField(f, "日期", date);
    addField(f, "時間", time);
    addField(f, "星期", weekdayName(c.weekday));
    addField(f, "檢查碼", checkText(c.check, c.expectedCheck));
    const bool sensible = c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 &&
                          c.hour <= 23 && c.minute <= 59 && c.second <= 59 && c.weekday <= 6;
    if (!c.digitsOk)
        f.problems.push_back("時間資料有不是 0–9 的數字");
    else if (!sensible)
        f.problems.push_back("時間資料不合理");
    if (!c.checkOk) {
        f.checkOk = false;
        f.problems.push_back("檢查碼 " + checkText(c.check, c.expectedCheck));
    }
    f.clock = c;
    return p + ClockLength + 1;
}

DecodedScheduleRow scheduleRow(std::size_t offset, std::string_view raw)
{
    auto b = [&](std::size_t i) { return static_cast<int>(static_cast<std::uint8_t>(raw[i])); };
    DecodedScheduleRow r;
    r.offset = offset;
    r.raw = Bytes(raw);
    r.dayChoice = b(0);
    r.weekdayCode = b(11);
    r.inUse = r.dayChoice != 8;
    r.hour = b(12);
    r.minute = b(13);
    r.first = b(14);
    r.last = b(15);
    bool digits = true;
    for (std::size_t i = 1; i <= 10; ++i)
        digits = digits && b(i) <= 9;
    r.consistent = digits && b(1) * 10 + b(2) == r.hour && b(3) * 10 + b(4) == r.minute &&
                   b(5) * 100 + b(6) * 10 + b(7) == r.first &&
                   b(8) * 100 + b(9) * 10 + b(10) == r.last &&
                   r.weekdayCode == (r.inUse ? weekdayCodeOf(r.dayChoice) : 7);
    return r;
}

std::size_t Parser::scheduleTable(std::size_t p, Frame& f) const
{
    const std::size_t rowsStart = p;
    for (int n = 0; n < ScheduleRowCount; ++n) {
        // A short table: its check byte and the end frame come early.
        if (endFrameAt(p + 1) || !has(p, ScheduleRowLength) || boundaryAt(p))
            break;
        f.schedule.push_back(scheduleRow(p, m_in.substr(p, ScheduleRowLength)));
        p += ScheduleRowLength;
    }
    addField(f, "定時列數", num(static_cast<long long>(f.schedule.size())));
    if (f.schedule.size() != ScheduleRowCount)
        f.problems.push_back("定時表應有 9 列，收到 " +
                             num(static_cast<long long>(f.schedule.size())) + " 列");
    for (std::size_t i = 0; i < f.schedule.size(); ++i)
        if (!f.schedule[i].consistent)
            f.problems.push_back("第 " + num(static_cast<long long>(i + 1)) +
                                 " 列的數字與數值不一致");
    if (!has(p, 1) || endFrameAt(p)) {
        f.checkOk = false;
        f.problems.push_back("定時表缺少檢查碼");
        return p;
    }
    const std::uint8_t check = at(p);
    const std::uint8_t expected = xorOf(m_streamStart, p);
    addField(f, "檢查碼", checkText(check, expected));
    if (check != expected) {
        f.checkOk = false;
        std::string text = "定時表檢查碼 " + checkText(check, expected);
        if (check == xorOf(rowsStart, p))
            text += "；與各列的 XOR 相符，錯在前面的資料";
        f.problems.push_back(text);
    }
    return p + 1;
}

std::size_t Parser::insertMessage(std::size_t p, Frame& f) const
{
    if (!takeFixed(p, 2, f))
        return size();
    InsertMessage m;
    m.slot = at(p);
    m.count = at(p + 1);
    std::size_t stop = 0;
    const std::size_t zeros = findZeros(p + 2, 3, stop);
    m.terminated = zeros != std::string_view::npos;
    const std::size_t bodyEnd = m.terminated ? zeros : stop;
    const std::string_view body = m_in.substr(p + 2, bodyEnd - (p + 2));

    const std::size_t lead = std::min(body.find_first_not_of(' '), body.size());
    const std::size_t trail = body.size() - std::min(body.find_last_not_of(' ') + 1, body.size());
    auto fits = [&](std::size_t l, std::size_t t) {
        return body.size() >= l + t && lead >= l && trail >= t;
    };
    const bool manual = fits(ManualLead, ManualTrail);
    const bool automatic = fits(AutoLead, AutoTrail);
    // Manual slots run 1–10, automatic ones 0–9: slot 0, or blanks that fit the automatic
    // form exactly, settle a text that fits both.
    m.automatic = automatic && (!manual || m.slot == 0 || trail == AutoTrail ||
                                body.size() == AutoLead + AutoTrail);
    if (manual || automatic) {
        const std::size_t l = m.automatic ? AutoLead : ManualLead;
        const std::size_t t = m.automatic ? AutoTrail : ManualTrail;
        m.text = Bytes(body.substr(l, body.size() - l - t));
    } else {
        m.text = Bytes(body);
        f.problems.push_back("插播文字前後的空白不符");
    }

    addField(f, "種類", m.automatic ? "自動插播" : "手動插播");
    addField(f, "插播位置", num(m.slot));
    addField(f, "插播次數", num(m.count));
    addField(f, "文字", textForDisplay(m.text));
    if (m.automatic ? m.slot > 9 : (m.slot < 1 || m.slot > 10))
        f.problems.push_back("插播位置 " + num(m.slot) + " 超出範圍");
    if (m.count < 1 || m.count > 250)
        f.problems.push_back("插播次數 " + num(m.count) + " 超出 1–250");
    if (!m.terminated)
        f.problems.push_back("缺少結尾 00 00 00");
    f.insert = std::move(m);
    return f.insert->terminated ? zeros + 3 : stop;
}

std::size_t Parser::switchPair(std::size_t p, Frame& f) const
{
    if (!takeFixed(p, 2, f))
        return size();
    const char* name = f.code == CmdTimerSwitch ? "定時" : f.code == CmdPower ? "電源" : "模式";
    const char* on = f.code == CmdTimerSwitch ? "開" : f.code == CmdPower ? "開啟" : "附加模式";
    const char* off = f.code == CmdTimerSwitch ? "關" : f.code == CmdPower ? "關閉" : "覆蓋模式";
    const std::uint8_t a = at(p), b = at(p + 1);
    if (a == 1 && b == 1) {
        addField(f, name, on);
    } else if (a == 0 && b == 0) {
        addField(f, name, off);
    } else {
        addField(f, name, "不明");
        f.problems.push_back("不明的開關值 " + hex(slice(p, p + 2)));
    }
    return p + 2;
}

std::size_t Parser::signWidth(std::size_t p, Frame& f) const
{
    // A cancelled configuration can leave the frame without its byte.
    if (endFrameAt(p)) {
        f.problems.push_back("缺少字數");
        return p;
    }
    if (!takeFixed(p, 1, f))
        return size();
    addField(f, "字數", num(at(p)));
    return p + 1;
}

std::size_t Parser::baudCode(std::size_t p, Frame& f) const
{
    if (!takeFixed(p, 1, f))
        return size();
    const int code = at(p);
    addField(f, "傳輸率代碼", num(code));
    addField(f, "傳輸率", baudCodeName(code));
    if (code > 3)
        f.problems.push_back("不明的傳輸率代碼 " + num(code));
    return p + 1;
}

std::size_t Parser::newsCount(std::size_t p, Frame& f) const
{
    if (!takeFixed(p, 2, f))
        return size();
    const int n = at(p);
    addField(f, "則數", num(n));
    if (at(p + 1) != n)
        f.problems.push_back("兩個則數不同：" + hex(slice(p, p + 2)));
    if (n < 1 || n > 10)
        f.problems.push_back("則數 " + num(n) + " 超出 1–10");
    return p + 2;
}

std::size_t Parser::newsItem(std::size_t p, Frame& f) const
{
    std::size_t stop = 0;
    const std::size_t zeros = findZeros(p, 2, stop);
    const std::size_t end = zeros != std::string_view::npos ? zeros : stop;
    const Bytes text = slice(p, end);
    addField(f, "內容", cp950ToUtf8(text));
    static const Bytes tag = big5("即時新聞測試");
    if (text.compare(0, tag.size(), tag) == 0)
        addField(f, "編號", text.substr(tag.size()));
    else
        f.problems.push_back("內容不是「即時新聞測試」");
    if (zeros == std::string_view::npos) {
        f.problems.push_back("缺少結尾 00 00");
        return stop;
    }
    return zeros + 2;
}

// Listing ------------------------------------------------------------------------------------

std::string colourSetName(int set)
{
    switch (set) {
    case 1:
        return "單色字幕機";
    case 2:
        return "彩色字幕機";
    default:
        return "無字幕機種類標頭";
    }
}

void listHeader(std::string& out, const AddressHeader& h)
{
    out += "  位址標頭 [" + num(static_cast<long long>(h.offset)) + "] " +
           hex(std::string_view(h.raw).substr(0, 12)) + (h.raw.size() > 12 ? " …" : "") + "：" +
           colourSetName(h.colorSet) + "，台數 " + num(static_cast<long long>(h.units.size())) +
           "，台號 " + unitRanges(h.units);
    if (h.complete)
        out += "，檢查碼 " + checkText(h.check, h.expectedCheck);
    out += "\n";
}

void listScreen(std::string& out, const ScreenBlock& s)
{
    out += "    畫面 序號 " + num(s.sequence) + " [" + num(static_cast<long long>(s.offset)) +
           "]：字數 " + num(s.width) + "，停留 " + num(s.stay) + "，進入 " + num(s.entry) + " (" +
           entryEffectName(s.entry) + ")，分割 " + num(s.split) + "，速度 " + num(s.speed) + "\n";
    out += "      參數 " + hex(std::string_view(s.raw).substr(0, 6)) + "\n";
    std::string wire;
    for (const auto& c : s.cells)
        wire += (wire.empty() ? "" : " ") + hex(c.wire);
    out += "      文字 " + (wire.empty() ? std::string("(空)") : wire) + "：「" +
           textForDisplay(s.text) + "」\n";
    out += "      屬性 " + (s.attributes.empty() ? std::string("(空)") : hex(s.attributes)) + "\n";
    out += "      補白 " + num(s.padding) + " 格 (41 20)\n";
    if (s.tail.size() == 2)
        out += "      結尾 " + hex(s.stayAgain) + " " + hex(s.exit) + " " + hex(s.tail) +
               "：停留 " + num(s.stayAgain) + "，離開 " + num(s.exit) + " (" +
               exitEffectName(s.exit) + ")，檢查碼 " + checkText(s.check, s.expectedCheck) + "\n";
    for (const auto& p : s.problems)
        out += "      ！" + p + "\n";
}

void listGlyph(std::string& out, const GlyphBlock& g)
{
    out += "    圖形 " + num(g.number) + " [" + num(static_cast<long long>(g.offset)) + "]：" +
           num(static_cast<long long>(g.code.size())) + " 位元組";
    if (g.problems.empty() || g.checkOk)
        out += "，檢查碼 " + checkText(g.check, g.expectedCheck);
    out += "\n      " + hex(g.code) + "\n";
    for (const auto& p : g.problems)
        out += "      ！" + p + "\n";
}

void listScheduleRow(std::string& out, std::size_t n, const DecodedScheduleRow& r)
{
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", r.hour, r.minute);
    out += "    第 " + num(static_cast<long long>(n)) + " 列 " + hex(r.raw) + "：";
    if (!r.inUse)
        out += "不使用";
    else if (r.first == 0 && r.last == 0)
        out += dayChoiceName(r.dayChoice) + " " + time + " 關閉";
    else
        out += dayChoiceName(r.dayChoice) + " " + time + " 顯示第 " + num(r.first) + " 幕到第 " +
               num(r.last) + " 幕";
    out += "\n";
}

void listFrame(std::string& out, const Frame& f)
{
    if (f.kind == Frame::Kind::Unknown) {
        for (const auto& p : f.problems)
            out += "  " + p + "\n";
        return;
    }
    out += "  [" + num(static_cast<long long>(f.offset)) + "] ";
    const bool nested = !f.screens.empty() || !f.glyphs.empty() || !f.schedule.empty();
    if (f.kind == Frame::Kind::Bright || !nested)
        out += hex(f.raw);
    else
        out += hex(std::string_view(f.raw).substr(0, 3));
    out += "  " + f.name;
    if (f.kind == Frame::Kind::Command)
        out += " (" + hex(f.code) + ")";
    for (std::size_t i = 0; i < f.fields.size(); ++i)
        out += (i == 0 ? "：" : "，") + f.fields[i].name + " " + f.fields[i].value;
    out += "\n";
    for (const auto& s : f.screens)
        listScreen(out, s);
    for (const auto& g : f.glyphs)
        listGlyph(out, g);
    for (std::size_t i = 0; i < f.schedule.size(); ++i)
        listScheduleRow(out, i + 1, f.schedule[i]);
    for (const auto& p : f.problems)
        out += "    ！" + p + "\n";
}

} // namespace

std::string Frame::value(std::string_view fieldName) const
{
    for (const auto& f : fields)
        if (f.name == fieldName)
            return f.value;
    return {};
}

bool Transmission::ok() const
{
    if (!problems.empty())
        return false;
    for (const auto& f : frames) {
        if (f.kind == Frame::Kind::Unknown || !f.checkOk || !f.problems.empty())
            return false;
        for (const auto& s : f.screens)
            if (!s.problems.empty())
                return false;
        for (const auto& g : f.glyphs)
            if (!g.problems.empty())
                return false;
    }
    return true;
}

std::optional<long> dataFileBaud(std::string_view bytes)
{
    if (bytes.size() < DataFileHeadLength)
        return std::nullopt;
    long baud = 0;
    for (std::size_t i = 0; i < BaudDigits; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return std::nullopt;
        baud = baud * 10 + (bytes[i] - '0');
    }
    for (std::size_t i = BaudDigits; i < DataFileHeadLength; ++i)
        if (bytes[i] != '0')
            return std::nullopt;
    return baud;
}

std::vector<Transmission> decodeTransmissions(std::string_view bytes)
{
    const std::optional<long> baud = dataFileBaud(bytes);
    Parser parser(bytes, baud ? DataFileHeadLength : 0);
    std::vector<Transmission> out = parser.run();
    if (baud) {
        if (out.empty()) {
            Transmission t;
            t.offset = DataFileHeadLength;
            t.problems.push_back("傳送資料檔沒有傳輸內容");
            out.push_back(std::move(t));
        }
        for (auto& t : out)
            t.fileBaud = baud;
    }
    return out;
}

std::string formatListing(const std::vector<Transmission>& transmissions)
{
    std::string out;
    if (!transmissions.empty() && transmissions.front().fileBaud)
        out += "傳送資料檔：鮑率 " + num(*transmissions.front().fileBaud) + "\n";
    std::size_t n = 0;
    for (const auto& t : transmissions) {
        out += "傳輸 " + num(static_cast<long long>(++n)) + "：位移 " +
               num(static_cast<long long>(t.offset)) + "，" +
               num(static_cast<long long>(t.length)) + " 位元組" + (t.ok() ? "" : "，有錯誤") +
               "\n";
        if (t.preamble)
            out += "  喚醒前導：30 個 \"0\"\n";
        if (t.header)
            listHeader(out, *t.header);
        for (const auto& f : t.frames)
            listFrame(out, f);
        if (t.lineEnd)
            out += "  結尾 0D 0A\n";
        for (const auto& p : t.problems)
            out += "  ！" + p + "\n";
    }
    return out;
}

} // namespace led
