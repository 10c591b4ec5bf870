#include "core/protocol/ControlCommands.h"

#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <algorithm>
#include <cstdio>

namespace led {
namespace {

// A field as the sign reads it: its value within 0..modulus-1, whatever the reading held.
int wrapped(int value, int modulus)
{
    return ((value % modulus) + modulus) % modulus;
}

void appendPair(Bytes& out, int value)
{
    const int v = wrapped(value, 100);
    out += static_cast<char>(v % 10);
    out += static_cast<char>(v / 10);
}

Bytes onOff(bool on)
{
    return on ? Bytes("\x01\x01", 2) : Bytes("\x00\x00", 2);
}

Bytes transmission(TSystemparameter& s, std::uint8_t code, std::string_view payload = {})
{
    return addressHeader(s) + closedFrame(code, payload);
}

} // namespace

Bytes clockData(const ClockReading& t)
{
    const int year = wrapped(t.year, 10000);
    Bytes out;
    appendPair(out, t.second);
    appendPair(out, t.minute);
    appendPair(out, t.hour);
    appendPair(out, t.day);
    appendPair(out, t.month);
    appendPair(out, year % 100);
    out += static_cast<char>(wrapped(t.weekday, 7));
    out += static_cast<char>(year / 1000);
    out += static_cast<char>(year / 100 % 10);
    return out;
}

std::string clockLabel(const ClockReading& t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d-%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

Bytes setTimeTransmission(TSystemparameter& s, const ClockReading& t)
{
    Bytes payload = clockData(t);
    payload += static_cast<char>(xorSum(payload));
    return transmission(s, CmdDateTime, payload);
}

Bytes powerTransmission(TSystemparameter& s, bool open)
{
    return transmission(s, CmdPower, onOff(open));
}

Bytes versionTransmission(TSystemparameter& s)
{
    return transmission(s, CmdVersion);
}

Bytes unitNumberTransmission(TSystemparameter& s, std::uint8_t code)
{
    return transmission(s, CmdUnitNumber, Bytes(1, static_cast<char>(code)));
}

Bytes clearTransmission(TSystemparameter& s)
{
    return transmission(s, CmdReset);
}

Bytes selfTestTransmission(TSystemparameter& s)
{
    return transmission(s, CmdSelfTest);
}

Bytes timerSwitchTransmission(TSystemparameter& s, bool on)
{
    return transmission(s, CmdTimerSwitch, onOff(on));
}

Bytes unusedScheduleRow()
{
    return Bytes("\x08\x00\x00\x00\x00\x00\x00\x01\x00\x00\x01\x07\x00\x00\x01\x01", 16);
}

Bytes timerOffTransmission(TSystemparameter& s)
{
    Bytes table;
    for (int line = 0; line < 9; ++line)
        table += unusedScheduleRow();
    table += static_cast<char>(xorSum(table));
    return timerSwitchTransmission(s, false) + transmission(s, CmdSchedule, table);
}

Bytes signConfigTransmission(TSystemparameter& s, int width)
{
    return transmission(s, CmdWidth, Bytes(1, static_cast<char>(width & 0xFF)));
}

Bytes newsCountTransmission(TSystemparameter& s, int n)
{
    const char count = static_cast<char>(std::clamp(n, NewsCountMin, NewsCountMax));
    return transmission(s, CmdNewsCount, Bytes{count, count});
}

Bytes newsItemTransmission(TSystemparameter& s, int k)
{
    Bytes payload = big5(texts::NewsItemText) + std::to_string(k);
    payload += Bytes("\x00\x00", 2);
    return transmission(s, CmdNewsData, payload);
}

std::vector<Bytes> newsTransmissions(TSystemparameter& s, int n)
{
    n = std::clamp(n, NewsCountMin, NewsCountMax);
    std::vector<Bytes> out{newsCountTransmission(s, n)};
    for (int k = 1; k <= n; ++k)
        out.push_back(newsItemTransmission(s, k));
    return out;
}

void applyPower(TSystemparameter& s, bool open)
{
    s.opencloseled = open ? 1 : 0;
}

void applyTimerState(TSystemparameter& s, bool on)
{
    s.Settime = on ? 1 : 0;
}

void toggleTempset(TSystemparameter& s)
{
    s.tempset = !s.tempset;
}

void applyUnitNumber(TSystemparameter& s, std::uint8_t code)
{
    s.CodeNo = code;
}

void applySignConfig(TSystemparameter& s, int colorSet, int width)
{
    if (colorSet == 1) {
        s.colorSet = 1;
        setCurrentColours(s, ForeRed, BackBlack);
    } else if (colorSet == 2) {
        s.colorSet = 2;
    }
    s.signWidth = width;
}

std::optional<int> parseSignWidth(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < SignWidthMin || value > SignWidthMax)
        return std::nullopt;
    return value;
}

} // namespace led
