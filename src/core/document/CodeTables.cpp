#include "core/document/CodeTables.h"

#include "core/text/Cp950.h"

#include <charconv>
#include <limits>

namespace led {
namespace {

// Names converted to Big5 once; the tables are compared byte for byte.
struct Big5Table
{
    std::vector<std::pair<std::string, int>> rows;
    explicit Big5Table(const std::vector<EffectName>& names)
    {
        for (const auto& n : names)
            rows.emplace_back(big5(n.utf8), n.code);
    }
};

const std::vector<EffectName>& exitExtras()
{
    static const std::vector<EffectName> extras = {{"向右移出", 1}, {"射出", 19}};
    return extras;
}

const Big5Table& entryBig5()
{
    static const Big5Table table(entryEffects());
    return table;
}

const Big5Table& exitBig5()
{
    static const Big5Table table = [] {
        auto all = exitEffects();
        all.insert(all.end(), exitExtras().begin(), exitExtras().end());
        return Big5Table(all);
    }();
    return table;
}

int lookupCode(const Big5Table& table, std::string_view name, int fallback)
{
    for (const auto& [text, code] : table.rows)
        if (text == name)
            return code;
    return fallback;
}

std::string lookupName(const Big5Table& table, int code, const std::string& fallback)
{
    for (const auto& [text, c] : table.rows)
        if (c == code)
            return text;
    return fallback;
}

} // namespace

const std::vector<EffectName>& entryEffects()
{
    static const std::vector<EffectName> table = {
        {"向左移入", 0},  {"向內捲入", 2},  {"覆蓋向左", 3},  {"覆蓋向右", 4},  {"覆蓋向上", 5},
        {"覆蓋向下", 6},  {"覆蓋向內", 7},  {"覆蓋向外", 8},  {"覆蓋上下", 9},  {"覆蓋下上", 10},
        {"向上捲入", 15}, {"向下捲入", 16}, {"立即顯現", 17}, {"同時出現", 18}, {"射入", 19},
        {"跳入", 20},     {"下雨", 21},     {"雪花", 22},     {"動畫帶入", 23}, {"即時新聞", 28},
        {"時間", 29},     {"日期", 30},     {"隨機變幻", 31}, {"向外捲入", 32}, {"溫度", 33},
    };
    return table;
}

const std::vector<EffectName>& exitEffects()
{
    static const std::vector<EffectName> table = {
        {"續幕", 255},    {"向左移出", 0},  {"向內捲出", 2},  {"覆蓋向左", 3},  {"覆蓋向右", 4},
        {"覆蓋向上", 5},  {"覆蓋向下", 6},  {"覆蓋向內", 7},  {"覆蓋向外", 8},  {"覆蓋上下", 9},
        {"覆蓋下上", 10}, {"向上捲入", 15}, {"向下捲入", 16}, {"立即消失", 17}, {"同時消失", 18},
        {"跳出", 20},     {"蒸發", 21},     {"腐蝕", 22},     {"動畫帶出", 23}, {"停止", 24},
        {"閃爍", 25},     {"反白閃爍", 26}, {"暫停", 27},     {"即時新聞", 28}, {"時間", 29},
        {"日期", 30},     {"隨機變幻", 31}, {"向外捲出", 32}, {"溫度", 33},
    };
    return table;
}

int FrontS2I(std::string_view name)
{
    return lookupCode(entryBig5(), name, 0);
}

std::string FrontI2S(int code)
{
    return lookupName(entryBig5(), code, entryBig5().rows.front().first);
}

int RearS2I(std::string_view name)
{
    return lookupCode(exitBig5(), name, 0);
}

std::string RearI2S(int code)
{
    // 255 is the first row, so it and every unnamed code give "續幕".
    return lookupName(exitBig5(), code, exitBig5().rows.front().first);
}

int DelayS2I(std::string_view text)
{
    for (int v = 0; v <= 16; ++v)
        if (text == std::to_string(v))
            return v;
    return 1;
}

std::string DelayI2S(int value)
{
    if (value == 0 || (value >= 2 && value <= 16))
        return std::to_string(value);
    return "1";
}

int SplitS2I(std::string_view text, std::string* error)
{
    if (text == big5("繼續"))
        return 0;
    if (text == big5("解除"))
        return 255;

    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (!digits.empty() && ec == std::errc() && end == digits.data() + digits.size())
        return value;

    if (error) {
        const char* reason =
            ec == std::errc::result_out_of_range ? "超出整數範圍" : "不是有效的整數";
        *error =
            std::string("轉換錯誤:") + "EConvertError" + "「" + cp950ToUtf8(text) + "」" + reason;
    }
    return 0;
}

std::string SplitI2S(int code)
{
    if (code == 0)
        return big5("繼續");
    if (code == 255)
        return big5("解除");
    return std::to_string(code);
}

std::string entryEffectName(int code)
{
    return cp950ToUtf8(FrontI2S(code));
}

std::string exitEffectName(int code)
{
    return cp950ToUtf8(RearI2S(code));
}

} // namespace led
