#pragma once

#include "cli/Args.h"
#include "core/document/Project.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

// The command names and their arguments, shared by "command" and "send-command".
#define COMMAND_LIST_TEXT                                                                          \
    "\n命令:\n"                                                                                  \
    "  open | close | version | selftest | clear | timer-off\n"                                    \
    "  time [--at YYYY-MM-DDTHH:MM:SS]      校正時間 (預設為現在)\n"                      \
    "  unit N                               更改台號為 N (0–255)\n"                         \
    "  config --width W --colour mono|colour  字幕機寬度與種類\n"                          \
    "  news N                               即時新聞測試 (N 則, 1–10)\n"                  \
    "  insert --line N --count C --text TEXT     插播文字\n"                                   \
    "  insert-auto --slot S --count C --text TEXT  自動插播\n"                                 \
    "  schedule [FILE.SCH]                  定時表 (預設為專案的 .SCH)\n"                 \
    "  bright-query                         查詢亮度\n"                                        \
    "  bright --unit D --mode fixed|auto --level P  設定亮度\n"                                \
    "  baud --rate R                        更改傳輸率 (1200 2400 4800 9600 19200 38400)\n"

namespace led::cli {

// The options that take a value, for the command words plus those given.
std::set<std::string> commandValueOptions(std::set<std::string> more);

// The transmissions of a command, in order; nothing with an error message.
std::optional<std::vector<Bytes>> buildCommand(const Args& args, Project& project,
                                               std::string& error);

} // namespace led::cli
