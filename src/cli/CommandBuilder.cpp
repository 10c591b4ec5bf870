#include "cli/CommandBuilder.h"

#include "cli/Output.h"
#include "core/document/WeeklySchedule.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/Bright.h"
#include "core/protocol/ControlCommands.h"
#include "core/protocol/InsertFrames.h"
#include "core/protocol/Schedule.h"
#include "core/text/Cp950.h"

#include <charconv>

namespace led::cli {
namespace {

std::optional<int> number(const std::string& text, int lo, int hi)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
        return std::nullopt;
    return v;
}

} // namespace

std::set<std::string> commandValueOptions(std::set<std::string> more)
{
    for (const char* name : {"at", "width", "colour", "line", "count", "text", "slot", "unit",
                             "mode", "level", "rate"})
        more.insert(name);
    return more;
}

std::optional<std::vector<Bytes>> buildCommand(const Args& args, Project& project,
                                               std::string& error)
{
    auto& s = project.settings();
    const auto& words = args.positionals();
    const std::string& name = words[0];
    auto argument = [&](std::size_t i) -> std::optional<std::string> {
        if (i < words.size())
            return words[i];
        return std::nullopt;
    };
    using Result = std::optional<std::vector<Bytes>>;
    auto fail = [&error](std::string message) -> Result {
        error = std::move(message);
        return std::nullopt;
    };

    if (name == "open" || name == "close")
        return Result({powerTransmission(s, name == "open")});
    if (name == "version")
        return Result({versionTransmission(s)});
    if (name == "selftest")
        return Result({selfTestTransmission(s)});
    if (name == "clear")
        return Result({clearTransmission(s)});
    if (name == "timer-off")
        return Result({timerOffTransmission(s)});
    if (name == "time") {
        CivilTime t = localNow();
        if (const auto at = args.value("at")) {
            const auto parsed = parseCivilTime(*at);
            if (!parsed)
                return fail("時間格式應為 YYYY-MM-DDTHH:MM:SS: " + *at);
            t = *parsed;
        }
        const ClockReading reading{t.year, t.month, t.day, t.hour, t.minute, t.second, t.weekday};
        return Result({setTimeTransmission(s, reading)});
    }
    if (name == "unit") {
        const auto n = argument(1) ? number(*argument(1), 0, 255) : std::nullopt;
        if (!n)
            return fail("台號應為 0–255");
        return Result({unitNumberTransmission(s, static_cast<std::uint8_t>(*n))});
    }
    if (name == "config") {
        const int width = parseSignWidth(args.value("width").value_or("")).value_or(0);
        const std::string colour = args.value("colour").value_or("");
        if (width == 0)
            return fail("--width 應為 1–255 的整數");
        if (colour != "mono" && colour != "colour")
            return fail("--colour 應為 mono 或 colour");
        applySignConfig(s, colour == "mono" ? 1 : 2, width);
        return Result({signConfigTransmission(s, width)});
    }
    if (name == "news") {
        const auto n =
            argument(1) ? number(*argument(1), NewsCountMin, NewsCountMax) : std::nullopt;
        if (!n)
            return fail("新聞則數應為 1–10");
        return Result(newsTransmissions(s, *n));
    }
    if (name == "insert" || name == "insert-auto") {
        const bool manual = name == "insert";
        const int which = number(args.value(manual ? "line" : "slot").value_or(""), manual ? 1 : 0,
                                 manual ? 10 : 9)
                              .value_or(-1);
        const int count = number(args.value("count").value_or(""), 1, 250).value_or(0);
        const auto text = args.value("text");
        if (which < 0)
            return fail(manual ? "--line 應為 1–10" : "--slot 應為 0–9");
        if (count == 0)
            return fail("--count 應為 1–250");
        if (!text)
            return fail("缺少選項 --text");
        const auto big5Text = utf8ToCp950(*text);
        if (!big5Text)
            return fail("插播文字含有 Big5 沒有的字: " + *text);
        const auto w = static_cast<std::uint8_t>(which);
        const auto c = static_cast<std::uint8_t>(count);
        return Result(
            {manual ? manualInsert(s, w, c, *big5Text) : automaticInsert(s, w, c, *big5Text)});
    }
    if (name == "schedule") {
        WeeklySchedule schedule;
        const std::filesystem::path file =
            argument(1) ? std::filesystem::path(*argument(1)) : s.schPath;
        if (auto r = schedule.load(file); !r)
            return fail("無法讀取定時表: " + r.error);
        const ScheduleSend send = scheduleTransmission(s, schedule);
        if (!send)
            return fail(send.error);
        return Result({send.bytes});
    }
    if (name == "bright-query")
        return Result({brightQuery()});
    if (name == "bright") {
        const auto unit = args.value("unit");
        const auto mode = args.value("mode");
        const int level =
            number(args.value("level").value_or(""), BrightSliderMin, BrightSliderMax).value_or(0);
        if (!unit || unit->size() != 1 || (*unit)[0] < '0' || (*unit)[0] > '9')
            return fail("--unit 應為 0–9");
        if (!mode || (*mode != "fixed" && *mode != "auto"))
            return fail("--mode 應為 fixed 或 auto");
        if (level == 0)
            return fail("--level 應為 1–255");
        return Result({brightSetFrame(
            (*unit)[0], *mode == "fixed" ? BrightMode::Fixed : BrightMode::Automatic, level)});
    }
    if (name == "baud") {
        const auto rate =
            args.value("rate") ? number(*args.value("rate"), 1, 1000000) : std::nullopt;
        const auto code = rate ? baudCodeForRate(*rate) : std::nullopt;
        if (!code)
            return fail("--rate 應為 1200、2400、4800、9600、19200 或 38400");
        return Result({baudChangeTransmission(s, *code)});
    }
    return fail("不明的命令: " + name);
}

} // namespace led::cli
