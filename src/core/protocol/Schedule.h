#pragma once

#include "core/document/Settings.h"
#include "core/document/WeeklySchedule.h"
#include "core/text/Big5.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace led {

class UnitSelection;

namespace texts {
inline constexpr const char* BadTime = "時間輸入錯誤，請重新輸入!";
inline constexpr const char* FirstAfterLast = "編輯錯誤.起始幕不大於結束幕";
inline constexpr const char* ScheduleSentPanel = "定時器設定傳送完畢!";
inline constexpr const char* ScheduleSentBox = "定時設定傳送完畢！";
inline constexpr const char* ScheduleSentCaption = "訊息";
inline constexpr const char* SaveAfterLeaving = "離開後請存檔!";
inline constexpr const char* ScheduleHelpCaption = "輔助訊息";
inline constexpr std::array<const char*, 8> ScheduleHelpLines = {
    "幕號從(001-254),不勾選為即不使用此段定時",
    "每天,星期1到星期7,時間是24小時制,關閉為關機時間",
    "範例:",
    "每天8點開始顯示第1幕至第10幕",
    "每天下午17點關閉",
    "請勾選1個定時器=選擇每天=08:00:00=選擇顯示=1至10",
    "請勾選1個定時器=選擇每天=17:00:00=選擇關閉=0至0",
    "按傳送設定鈕即完成動作",
};
} // namespace texts

inline constexpr std::size_t ScheduleRowSize = 16;

// HHMMSS, six digits, with hours 0–23, minutes and seconds 0–59.
bool CheckTime(std::string_view time);

// The 16 bytes of a timer line: day choice (8 when not in use), the hour and minute digits,
// the first and last screen as three digits each, the weekday code (7 when not in use),
// then hour, minute, first and last screen as numbers. Nothing for a row in use whose
// time fails CheckTime; a row not in use counts its other characters as 0.
std::optional<Bytes> scheduleRowBytes(const ScheduleRow& row);

struct ScheduleSend
{
    Bytes bytes;       // the whole transmission; empty when badRow is set
    int badRow = 0;    // 1–9: a row in use whose time fails CheckTime
    std::string error; // UTF-8, the given sentence first

    explicit operator bool() const { return badRow == 0; }
};

// Address header, FF 10 EF with 01 01 (timer on) or 00 00 (off), end frame; the same
// header again, FF 04 FB, the nine rows, their check byte, end frame. The timer-off
// command is this with the rows at their defaults and timerOn false.
ScheduleSend scheduleTransmission(TSystemparameter& s, const WeeklySchedule& schedule,
                                  bool timerOn = true, UnitSelection* dialog = nullptr);

} // namespace led
