#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace led {

// Effect names are Big5 bytes, as shown in the editor's lists and kept in files.
struct EffectName
{
    const char* utf8; // for display and tests
    int code;
};

const std::vector<EffectName>& entryEffects(); // 25 entries, list order
const std::vector<EffectName>& exitEffects();  // 29 entries, list order

int FrontS2I(std::string_view name);
std::string FrontI2S(int code);
int RearS2I(std::string_view name);
std::string RearI2S(int code);
int DelayS2I(std::string_view text);
std::string DelayI2S(int value);
// Non-numeric text gives 0; *error then holds the operator message "轉換錯誤:…" (UTF-8).
int SplitS2I(std::string_view text, std::string* error = nullptr);
std::string SplitI2S(int code);

// UTF-8 names of codes, for reports (the same defaults as the I2S conversions).
std::string entryEffectName(int code);
std::string exitEffectName(int code);

} // namespace led
