#include "core/protocol/InsertFrames.h"

#include "core/protocol/Frames.h"

namespace led {
namespace {

Bytes insertFrame(std::uint8_t slot, std::uint8_t count, std::string_view lead,
                  std::string_view text, std::size_t trailingBlanks)
{
    Bytes payload;
    payload.reserve(2 + lead.size() + text.size() + trailingBlanks + 3);
    payload += static_cast<char>(slot);
    payload += static_cast<char>(count);
    payload += lead;
    payload += text;
    payload.append(trailingBlanks, ' ');
    payload.append(3, '\0');
    return closedFrame(CmdInsert, payload);
}

} // namespace

Bytes manualInsertFrame(std::uint8_t line, std::uint8_t count, std::string_view text)
{
    return insertFrame(line, count, "  ", text, 10);
}

Bytes automaticInsertFrame(std::uint8_t slot, std::uint8_t count, std::string_view text)
{
    return insertFrame(slot, count, " ", text, 14);
}

Bytes manualInsert(TSystemparameter& s, std::uint8_t line, std::uint8_t count,
                   std::string_view text, UnitSelection* dialog)
{
    return addressHeader(s, dialog) + manualInsertFrame(line, count, text);
}

Bytes automaticInsert(TSystemparameter& s, std::uint8_t slot, std::uint8_t count,
                      std::string_view text, UnitSelection* dialog)
{
    return addressHeader(s, dialog) + automaticInsertFrame(slot, count, text);
}

} // namespace led
