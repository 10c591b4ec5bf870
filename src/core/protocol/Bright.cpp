#include "core/protocol/Bright.h"

#include "core/protocol/Frames.h"

#include <algorithm>

namespace led {
namespace {

char modeCharacter(BrightMode mode)
{
    return mode == BrightMode::Fixed ? '1' : '2';
}

} // namespace

Bytes brightFrame(std::string_view body)
{
    Bytes out(1, static_cast<char>(BrightStx));
    out += "BRIGHT";
    out += body;
    out += static_cast<char>(xorSum(body));
    out += static_cast<char>(BrightEtx);
    return out;
}

Bytes brightQuery()
{
    return brightFrame(Bytes("\x31\x01\x30", 3));
}

std::uint8_t brightLevel(BrightMode mode, int slider)
{
    const int p = std::clamp(slider, BrightSliderMin, BrightSliderMax);
    if (mode == BrightMode::Fixed)
        return static_cast<std::uint8_t>(p);
    return static_cast<std::uint8_t>(p >= BrightMiddle ? p - BrightMiddle : 254 - p);
}

Bytes brightSetFrame(char unitDigit, BrightMode mode, int slider)
{
    const Bytes body{unitDigit, '\x02', modeCharacter(mode),
                     static_cast<char>(brightLevel(mode, slider))};
    return brightFrame(body);
}

Bytes brightBaudFrame(char unitDigit, std::uint8_t baudCode)
{
    if (baudCode == 0)
        return {};
    const Bytes body{unitDigit, '\x02', '4', static_cast<char>(baudCode - 1)};
    return brightFrame(body);
}

std::optional<BrightReading> interpretBrightReply(std::string_view buffer)
{
    if (buffer.size() < BrightReplySize)
        return std::nullopt;
    const char mode = buffer[8];
    const int v = static_cast<std::uint8_t>(buffer[9]);
    if (mode == '1')
        return BrightReading{BrightMode::Fixed, v == 0 ? BrightSliderMax : v};
    if (mode == '2') {
        const int p = v < BrightMiddle ? v + BrightMiddle : 254 - v;
        // 254 and 255 would fold below the slider's left end.
        return BrightReading{BrightMode::Automatic, std::max(p, BrightSliderMin)};
    }
    return std::nullopt;
}

std::optional<BrightReading> receiveBrightBytes(Bytes& buffer, std::string_view batch)
{
    buffer += batch;
    if (buffer.size() < BrightReplySize)
        return std::nullopt;
    const auto reading = interpretBrightReply(buffer);
    buffer.clear();
    return reading;
}

} // namespace led
