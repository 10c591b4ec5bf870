#pragma once

#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace led {

// Texts the control commands report (UTF-8). The panel texts go to status panel 1.
namespace texts {
inline constexpr const char* TimeSent = "字幕機校正時間指令已送出！";
inline constexpr const char* VersionSent = "顯示版本訊息已送出!";
inline constexpr const char* UnitNumberSent = "修改台號命令傳送完畢！";
inline constexpr const char* ClearSent = "字幕機資料清除命令已送出！";
inline constexpr const char* SelfTestSent = "自我測試命令已送出！";
inline constexpr const char* SignOpened = "字幕機設定為開啟。";
inline constexpr const char* SignClosed = "字幕機設定為關閉。";
inline constexpr const char* NewsSent = "即時新聞測試命令已送出！";
inline constexpr const char* NewsItemText = "即時新聞測試"; // payload of every news item
// Message box after the timer-off command: the screens must be uploaded again.
inline constexpr const char* TimerClosed = "已經關閉定時器,請重新傳輸文字資料";
// Warning box of the sign configuration dialog (OK / Cancel).
inline constexpr const char* SignConfigWarning = "更動此設定將會清除所有的編輯資料！";
} // namespace texts

// One reading of the computer's clock. Every field of the set-time command comes from the
// same reading, so a command sent at midnight cannot mix two days.
struct ClockReading
{
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 Sunday .. 6 Saturday
};

// The 15 clock bytes: second, minute, hour, day, month and the year's last two digits as
// (units, tens) digit values, the weekday, then the year's thousands and hundreds digits.
Bytes clockData(const ClockReading& t);
// The time dialog's label, "yyyy/mm/dd-hh:mm:ss".
std::string clockLabel(const ClockReading& t);

// Whole transmissions: address header, command frame, end frame where the command takes
// one. Building the header applies the unit-0 fallback to the settings. Those marked
// "logged" add their hexDump to the command log when sent.

// FF 02 FD, clock data, its xorSum. Logged.
Bytes setTimeTransmission(TSystemparameter& s, const ClockReading& t);
// FF 11 EE 01 01 (open, logged) or 00 00 (close).
Bytes powerTransmission(TSystemparameter& s, bool open);
Bytes versionTransmission(TSystemparameter& s);                       // FF 05 FA
Bytes unitNumberTransmission(TSystemparameter& s, std::uint8_t code); // FF 06 F9 code
Bytes clearTransmission(TSystemparameter& s);                         // FF 08 F7
Bytes selfTestTransmission(TSystemparameter& s);                      // FF 09 F6
// FF 10 EF 01 01 (on) or 00 00 (off).
Bytes timerSwitchTransmission(TSystemparameter& s, bool on);
// Timer off switches the timer off and then clears all nine schedule lines, each of the
// two frames behind its own address header, as one transmission.
Bytes timerOffTransmission(TSystemparameter& s);
// The 16-byte schedule row of a timer line not in use.
Bytes unusedScheduleRow();
// FF 1A E5 and the low eight bits of the width. Built after the configuration was
// applied, so the prefix is that of the new colour set. Logged.
Bytes signConfigTransmission(TSystemparameter& s, int width);

inline constexpr int NewsCountMin = 1;
inline constexpr int NewsCountMax = 10;
// FF 40 BF n n, no end frame; n is held to 1..10, the dialog's range.
Bytes newsCountTransmission(TSystemparameter& s, int n);
// FF 41 BE "即時新聞測試", k in decimal, 00 00, no end frame.
Bytes newsItemTransmission(TSystemparameter& s, int k);
// The count and then items 1..n, each its own transmission; the sender pauses 1000 ms
// after the first.
std::vector<Bytes> newsTransmissions(TSystemparameter& s, int n);

// What the commands change in the settings; the menus show these states.
void applyPower(TSystemparameter& s, bool open);    // opencloseled 1 / 0
void applyTimerState(TSystemparameter& s, bool on); // Settime 1 / 0 (timer off, schedule window)
void toggleTempset(TSystemparameter& s);            // "溫度感知器"
void applyUnitNumber(TSystemparameter& s, std::uint8_t code); // CodeNo
// The sign configuration confirmed: colour set 1 or 2 (any other value leaves it) and the
// width. A single-colour sign makes red on black the current colours.
void applySignConfig(TSystemparameter& s, int colorSet, int width);

inline constexpr int SignWidthMin = 1;
inline constexpr int SignWidthMax = 255;
// The typed sign width: a whole decimal number, blanks around it allowed, within 1..255
// (the payload is one byte). Nothing for anything else, so the dialog can refuse it
// before any setting or the document is touched.
std::optional<int> parseSignWidth(std::string_view text);

} // namespace led
