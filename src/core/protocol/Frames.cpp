#include "core/protocol/Frames.h"

#include "core/protocol/UnitSelection.h"

#include <cstdio>

namespace led {

const std::vector<CommandInfo>& commandTable()
{
    static const std::vector<CommandInfo> table = {
        {0x01, "傳送文字"},
        {0x02, "傳送日期及時間"},
        {0x03, "傳送圖形"},
        {0x04, "傳送定時"},
        {0x05, "顯示字幕機版本"},
        {0x06, "更改字幕機密碼"},
        {0x07, "插播文字"},
        {0x08, "系統重置"},
        {0x09, "自我測試"},
        {0x10, "定時(開/關)"},
        {0x11, "電源(開/關)"},
        {0x15, "覆蓋/附加"},
        {0x18, "傳送台數及台號(密碼)"},
        {0x19, "插播時間長度設定"},
        {0x1A, "調整字數"},
        {0x1B, "更改傳輸率"},
        {0x1C, "傳回台號"},
        {0x1F, "保留ROM作複製傳輸用"},
        {0x31, "I/O立即顯示幕"},
        {0x40, "即時新聞則數(客戶保留)"},
        {0x41, "即時新聞資料(客戶保留)"},
        {0x80, ""},
        {0xF4, "結束傳送"},
    };
    return table;
}

const CommandInfo* findCommand(std::uint8_t code)
{
    for (const auto& c : commandTable())
        if (c.code == code)
            return &c;
    return nullptr;
}

Bytes commandFrame(std::uint8_t code, std::string_view payload)
{
    Bytes out{'\xFF', static_cast<char>(code), static_cast<char>(code ^ 0xFF)};
    out += payload;
    return out;
}

Bytes endFrame()
{
    return commandFrame(CmdEnd);
}

bool closedByEndFrame(std::uint8_t code)
{
    return code != CmdInsert && code != CmdNewsCount && code != CmdNewsData;
}

Bytes closedFrame(std::uint8_t code, std::string_view payload)
{
    Bytes out = commandFrame(code, payload);
    if (closedByEndFrame(code))
        out += endFrame();
    return out;
}

Bytes wakeUpPreamble()
{
    return Bytes(WakeUpPreambleLength, '0');
}

Bytes withPreamble(std::string_view bytes, bool tempset)
{
    return tempset ? wakeUpPreamble() + Bytes(bytes) : Bytes(bytes);
}

std::uint8_t xorSum(std::string_view bytes)
{
    std::uint8_t sum = 0;
    for (unsigned char b : bytes)
        sum ^= b;
    return sum;
}

std::string hexDump(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3);
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    return out;
}

std::string hexText(std::string_view bytes)
{
    std::string out = hexDump(bytes);
    if (!out.empty())
        out.pop_back();
    return out;
}

Bytes colorHead(int colorSet)
{
    switch (colorSet) {
    case 1:
        return commandFrame(CmdMonoPrefix);
    case 2:
        return commandFrame(CmdColourPrefix);
    default:
        return {};
    }
}

Bytes unitList(std::string_view units)
{
    Bytes out;
    out += static_cast<char>(units.size() & 0xFF);
    out += units;
    out += static_cast<char>(xorSum(out));
    return out;
}

Bytes machineList(TSystemparameter& s, UnitSelection* dialog)
{
    if (dialog) {
        dialog->loadChecks(s);
        dialog->collectUnits(s);
    } else {
        UnitSelection boxes;
        boxes.loadChecks(s);
        boxes.collectUnits(s);
    }
    return unitList(s.selectedUnits);
}

void getdisplay(TSystemparameter& s)
{
    s.selectedUnits.clear();
    for (int n = 0; n < UnitCount; ++n)
        if (s.machine[n] == 1)
            s.selectedUnits += static_cast<char>(n);
    s.selectedCount = static_cast<int>(s.selectedUnits.size());
}

Bytes addressHeader(TSystemparameter& s, UnitSelection* dialog)
{
    return colorHead(s.colorSet) + machineList(s, dialog);
}

} // namespace led
