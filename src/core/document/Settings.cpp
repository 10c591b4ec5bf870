#include "core/document/Settings.h"

#include "core/text/Cp950.h"

namespace led {

void applyUnitSelectionRule(TSystemparameter& s)
{
    for (int v : s.machine)
        if (v == 1)
            return;
    s.machine[0] = 1;
}

std::string unitPanelText(const TSystemparameter& s)
{
    std::string text = "傳送台數: ";
    bool any = false;
    for (int n = 0; n < UnitCount; ++n) {
        if (s.machine[n] == 1) {
            text += std::to_string(n) + " ";
            any = true;
        }
    }
    if (!any)
        text += "0";
    return text;
}

namespace {

int captioned(const TSystemparameter& s, int first, const char* caption)
{
    const Bytes word = big5(caption);
    for (int k = first; k < first + 4; ++k)
        if (s.colourCaptions[k] == word)
            return k;
    return -1;
}

} // namespace

int currentForeButton(const TSystemparameter& s)
{
    return captioned(s, ForeBlack, "前景");
}

int currentBackButton(const TSystemparameter& s)
{
    return captioned(s, BackBlack, "背景");
}

void setCurrentColours(TSystemparameter& s, ColourButton fore, ColourButton back)
{
    for (int k = ForeBlack; k < ColourButtonCount; ++k)
        s.colourCaptions[k].clear();
    s.colourCaptions[fore] = big5("前景");
    s.colourCaptions[back] = big5("背景");
}

} // namespace led
