#include "sign/SignModel.h"

#include "core/protocol/DeviceAnswers.h"
#include "core/protocol/Frames.h"

#include <algorithm>
#include <cstdio>

namespace led {
namespace {

constexpr std::size_t ScheduleTableSize = 9 * 16;

std::uint8_t byteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<std::uint8_t>(bytes[i]);
}

bool addresses(const AddressHeader& h, int unit)
{
    return h.complete && h.checkOk &&
           std::find(h.units.begin(), h.units.end(), unit) != h.units.end();
}

StoredScreen storedScreen(const ScreenBlock& s)
{
    StoredScreen out;
    out.width = s.width;
    out.stay = s.stay;
    out.entry = s.entry;
    out.split = s.split;
    out.speed = s.speed;
    out.exit = s.exit;
    out.text = s.text;
    out.attributes = s.attributes;
    out.padding = s.padding;
    return out;
}

std::string clockText(const ClockData& c)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return text;
}

} // namespace

int wrongCheckBytes(const Frame& f)
{
    // A check byte that never arrived reads as 0 against an expected 0: not counted here.
    int n = 0;
    for (const auto& s : f.screens)
        n += s.check != s.expectedCheck;
    for (const auto& g : f.glyphs)
        n += g.check != g.expectedCheck;
    if (f.clock)
        n += f.clock->check != f.clock->expectedCheck;
    if (f.bright)
        n += f.bright->check != f.bright->expectedCheck;
    // Address header and FF 04 FB XOR to zero, so the table's check is that of its rows.
    if (f.kind == Frame::Kind::Command && f.code == CmdSchedule &&
        f.payload.size() == ScheduleTableSize + 1)
        n += xorSum(std::string_view(f.payload).substr(0, ScheduleTableSize)) !=
             byteAt(f.payload, ScheduleTableSize);
    return n;
}

bool frameClean(const Frame& f)
{
    return f.checkOk && f.problems.empty() &&
           std::all_of(f.screens.begin(), f.screens.end(),
                       [](const ScreenBlock& s) { return s.problems.empty(); }) &&
           std::all_of(f.glyphs.begin(), f.glyphs.end(),
                       [](const GlyphBlock& g) { return g.problems.empty(); });
}

std::vector<Bytes> SignModel::receive(std::string_view bytes, LocalSeconds hostNow,
                                      LineAddressing& line)
{
    std::vector<Bytes> replies;
    for (const Transmission& t : decodeTransmissions(bytes)) {
        auto more = apply(t, hostNow, line);
        replies.insert(replies.end(), more.begin(), more.end());
    }
    return replies;
}

std::vector<Bytes> SignModel::apply(const Transmission& t, LocalSeconds hostNow,
                                    LineAddressing& line)
{
    std::vector<Bytes> replies;
    if (!t.header && t.frames.empty())
        return replies; // a lone preamble or line end
    SignCounters& count = m_state.counters;
    ++count.transmissions;

    int headerColourSet = 0;
    const bool commands = std::any_of(t.frames.begin(), t.frames.end(), [](const Frame& f) {
        return f.kind == Frame::Kind::Command;
    });
    if (t.header) {
        const AddressHeader& h = *t.header;
        line.addressed = addresses(h, m_state.unit);
        headerColourSet = h.colorSet;
        if (!h.complete)
            ++count.rejected;
        else if (!h.checkOk)
            ++count.badChecks;
        else if (!line.addressed)
            ++count.ignored;
    } else if (commands && !line.addressed) {
        ++count.ignored; // no header for it on this line
    }

    for (const Frame& f : t.frames) {
        switch (f.kind) {
        case Frame::Kind::Unknown:
            ++count.rejected;
            break;
        case Frame::Kind::Bright:
            if (f.bright)
                if (auto reply = applyBright(*f.bright))
                    replies.push_back(std::move(*reply));
            break;
        case Frame::Kind::Command:
            if (!line.addressed || f.code == CmdEnd)
                break;
            if (const int bad = wrongCheckBytes(f)) {
                count.badChecks += bad;
                break;
            }
            if (!frameClean(f)) {
                ++count.rejected;
                break;
            }
            applyCommand(f, headerColourSet, hostNow);
            break;
        }
    }
    return replies;
}

void SignModel::applyCommand(const Frame& f, int headerColourSet, LocalSeconds hostNow)
{
    // A clean frame holds its whole payload; the decoder reports any shortfall.
    const std::string_view p = f.payload;
    SignState& s = m_state;
    switch (f.code) {
    case CmdText:
        if (!s.append)
            s.screens.clear();
        for (const auto& block : f.screens)
            s.screens[block.sequence] = storedScreen(block);
        break;
    case CmdDateTime:
        if (!f.clock || !applyClock(*f.clock, hostNow)) {
            ++s.counters.rejected;
            return;
        }
        break;
    case CmdGlyphs:
        for (const auto& g : f.glyphs)
            s.glyphs[g.number] = g.code;
        break;
    case CmdSchedule:
        s.schedule = f.schedule;
        break;
    case CmdVersion:
        ++s.counters.versionShown;
        break;
    case CmdUnitNumber:
        s.unit = byteAt(p, 0);
        break;
    case CmdInsert:
        if (!f.insert) {
            ++s.counters.rejected;
            return;
        }
        s.lastInsert =
            StoredInsert{f.insert->slot, f.insert->count, f.insert->automatic, f.insert->text};
        ++s.counters.inserts;
        break;
    case CmdReset:
        s.screens.clear();
        s.glyphs.clear();
        break;
    case CmdSelfTest:
        ++s.counters.selfTests;
        break;
    case CmdTimerSwitch:
        s.timer = byteAt(p, 0) == 1;
        break;
    case CmdPower:
        s.power = byteAt(p, 0) == 1;
        break;
    case CmdMode:
        s.append = byteAt(p, 0) == 1;
        break;
    case CmdWidth:
        s.width = byteAt(p, 0);
        // The configuration carries the sign type in its prefix.
        if (headerColourSet == SignColourMono || headerColourSet == SignColourColour)
            s.colourSet = headerColourSet;
        break;
    case CmdBaud:
        s.baudCode = byteAt(p, 0);
        break;
    case CmdNewsCount:
        s.news = StoredNews{byteAt(p, 0), {}};
        break;
    case CmdNewsData:
        if (!s.news)
            s.news = StoredNews{};
        s.news->items.emplace_back(p.substr(0, p.size() - 2));
        break;
    default:
        return; // commands this sign does not act on
    }
    ++s.counters.applied;
}

bool SignModel::applyClock(const ClockData& c, LocalSeconds hostNow)
{
    using namespace std::chrono;
    const year_month_day date{year{c.year}, month{static_cast<unsigned>(c.month)},
                              day{static_cast<unsigned>(c.day)}};
    if (!c.digitsOk || !date.ok() || c.hour > 23 || c.minute > 59 || c.second > 59 || c.weekday > 6)
        return false;
    const LocalSeconds at =
        local_days{date} + hours{c.hour} + minutes{c.minute} + seconds{c.second};
    m_state.clock = SignClock{(at - hostNow).count(), clockText(c), c.weekday};
    return true;
}

std::optional<Bytes> SignModel::applyBright(const BrightFrame& b)
{
    SignCounters& count = m_state.counters;
    BrightnessController& ctl = m_state.brightness;
    if (b.check != b.expectedCheck) {
        ++count.badChecks;
        return std::nullopt;
    }
    if (!b.checkOk || !b.etxOk) {
        ++count.rejected;
        return std::nullopt;
    }
    if (static_cast<char>(b.unit) != ctl.id) {
        if (b.kind != BrightFrame::Kind::Reply)
            ++count.ignored;
        return std::nullopt;
    }
    switch (b.kind) {
    case BrightFrame::Kind::Query:
        ++count.applied;
        return brightReply(ctl.id, ctl.mode, ctl.level);
    case BrightFrame::Kind::SetLevel:
        if (b.mode != '1' && b.mode != '2') {
            ++count.rejected;
            return std::nullopt;
        }
        ctl.mode = static_cast<char>(b.mode);
        ctl.level = b.value;
        ++count.applied;
        return std::nullopt;
    case BrightFrame::Kind::SetBaud:
        ctl.baudCode = b.value + 1;
        ++count.applied;
        return std::nullopt;
    case BrightFrame::Kind::Reply:
        return std::nullopt; // another controller's answer on the shared line
    case BrightFrame::Kind::Unknown:
        break;
    }
    ++count.rejected;
    return std::nullopt;
}

} // namespace led
