#include "core/protocol/BaudRates.h"

#include "core/protocol/Frames.h"

namespace led {

const std::array<BaudRate, BaudIndexCount>& baudTable()
{
    static const std::array<BaudRate, BaudIndexCount> table = {{
        {1, 150, "150BPS"},
        {2, 300, "300BPS"},
        {3, 600, "600BPS"},
        {4, 1200, "1200BPS"},
        {5, 1800, "1800BPS"},
        {6, 2400, "2400BPS"},
        {7, 4800, "4800BPS"},
        {8, 7200, "7200BPS"},
        {9, 9600, "9600BPS"},
        {10, 19200, "19200BPS"},
        {11, 38400, "38400BPS"},
        {12, 57600, "57600BPS"},
        {13, 115200, "115200BPS"},
        {14, 230400, "230400BPS"},
    }};
    return table;
}

const BaudRate& baudEntryForIndex(int index)
{
    return baudTable()[(isBaudIndex(index) ? index : DefaultBaudIndex) - 1];
}

int baudRateForIndex(int index)
{
    return baudEntryForIndex(index).baud;
}

bool baudTagSends(int tag)
{
    return baudCodeForTag(tag).has_value();
}

std::optional<std::uint8_t> baudCodeForRate(int baud)
{
    switch (baud) {
    case 1200:
        return 0;
    case 2400:
        return 1;
    case 4800:
        return 2;
    case 9600:
    case 19200:
    case 38400:
        return 3;
    default:
        return std::nullopt;
    }
}

std::optional<std::uint8_t> baudCodeForTag(int tag)
{
    if (!isBaudIndex(tag))
        return std::nullopt;
    return baudCodeForRate(baudTable()[tag - 1].baud);
}

Bytes baudChangeTransmission(TSystemparameter& s, std::uint8_t baudCode)
{
    getdisplay(s);
    return colorHead(s.colorSet) + unitList(s.selectedUnits) +
           closedFrame(CmdBaud, Bytes(1, static_cast<char>(baudCode)));
}

} // namespace led
