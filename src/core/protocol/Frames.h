#pragma once

#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace led {

class UnitSelection;

// Command codes of the sign protocol.
enum Command : std::uint8_t
{
    CmdText = 0x01,
    CmdDateTime = 0x02,
    CmdGlyphs = 0x03,
    CmdSchedule = 0x04,
    CmdVersion = 0x05,
    CmdUnitNumber = 0x06,
    CmdInsert = 0x07,
    CmdReset = 0x08,
    CmdSelfTest = 0x09,
    CmdTimerSwitch = 0x10,
    CmdPower = 0x11,
    CmdMode = 0x15,
    CmdColourPrefix = 0x18,
    CmdInsertLength = 0x19,
    CmdWidth = 0x1A,
    CmdBaud = 0x1B,
    CmdReturnUnit = 0x1C,
    CmdRomCopy = 0x1F,
    CmdIoShow = 0x31,
    CmdNewsCount = 0x40,
    CmdNewsData = 0x41,
    CmdMonoPrefix = 0x80,
    CmdEnd = 0xF4,
};

struct CommandInfo
{
    std::uint8_t code;
    const char* name; // UTF-8; empty for 0x80
};

const std::vector<CommandInfo>& commandTable();
// The command's name, or nothing for a code not in the table.
const CommandInfo* findCommand(std::uint8_t code);

// FF, code, code XOR FF, payload.
Bytes commandFrame(std::uint8_t code, std::string_view payload = {});
// FF F4 0B.
Bytes endFrame();
// Inserts and the two news commands carry no end frame.
bool closedByEndFrame(std::uint8_t code);
// The frame followed by the end frame where its command takes one.
Bytes closedFrame(std::uint8_t code, std::string_view payload = {});

// The 30 ASCII "0" that wake signs with a temperature sensor, in front of every write.
inline constexpr std::size_t WakeUpPreambleLength = 30;
Bytes wakeUpPreamble();
// The bytes as they go on the line: with the preamble in front when tempset is on.
Bytes withPreamble(std::string_view bytes, bool tempset);

std::uint8_t xorSum(std::string_view bytes);
// Two upper-case hex digits and a blank per byte.
std::string hexDump(std::string_view bytes);
// The same without the blank after the last byte, for reports.
std::string hexText(std::string_view bytes);

// FF 80 7F for a single-colour sign, FF 18 E7 for a colour sign, nothing otherwise.
Bytes colorHead(int colorSet);
// Count byte, unit bytes and their XOR.
Bytes unitList(std::string_view units);
// The unit list of the current selection; with no unit selected, unit 0, and MACHINE0
// becomes 1. When the unit selection dialog's model is given, its boxes are loaded from
// the selection and collected back, as the dialog does.
Bytes machineList(TSystemparameter& s, UnitSelection* dialog = nullptr);
// The selection straight from the MACHINE flags into selectedCount and selectedUnits,
// without the unit-0 fallback.
void getdisplay(TSystemparameter& s);
// colorHead followed by machineList.
Bytes addressHeader(TSystemparameter& s, UnitSelection* dialog = nullptr);

} // namespace led
