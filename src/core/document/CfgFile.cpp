#include "core/document/CfgFile.h"

#include <string>

namespace led {
namespace {

constexpr const char* System = "SYSTEM";
constexpr const char* Colour = "Color";
constexpr const char* Adders = "Adders";

constexpr const char* colourKeys[ColourButtonCount] = {
    "ForeBlack", "ForeRed", "ForeYellow", "ForeGreen",
    "BackBlack", "BackRed", "BackYellow", "BackGreen",
};

struct IntKey
{
    const char* key;
    int TSystemparameter::*field;
    int def;
};

// [SYSTEM] keys before the unit selection, in file order.
const IntKey systemKeys[] = {
    {"COMPORT", &TSystemparameter::port, 1},
    {"COLORSET", &TSystemparameter::colorSet, 0},
    {"SETWORD", &TSystemparameter::signWidth, 10},
    {"SENDTEXT", &TSystemparameter::SENDTEXT, 0},
    {"SendPaint", &TSystemparameter::SendPaint, 0},
    {"SendSetTime", &TSystemparameter::SendSetTime, 0},
    {"Sendtimer", &TSystemparameter::Sendtimer, 0},
    {"SendMessage", &TSystemparameter::SendMessage, 0},
    {"SendClosePower", &TSystemparameter::SendClosePower, 0},
    {"SendReset", &TSystemparameter::SendReset, 0},
    {"Onmodern", &TSystemparameter::Onmodern, 0},
    {"Speed", &TSystemparameter::baudIndex, 6},
    {"opencloseled", &TSystemparameter::opencloseled, 0},
    {"Settime", &TSystemparameter::Settime, 0},
};

std::string machineKey(int n)
{
    return "MACHINE" + std::to_string(n);
}

} // namespace

bool normaliseSettings(TSystemparameter& s)
{
    bool changed = false;
    auto clamp = [&changed](int& v, int lo, int hi, int def) {
        if (v < lo || v > hi) {
            v = def;
            changed = true;
        }
    };
    clamp(s.port, 1, PortTcpIp, 1);
    clamp(s.baudIndex, 1, 14, 6);
    clamp(s.signWidth, 1, 255, 10); // the width travels as one byte
    clamp(s.colorSet, 0, 2, 0);
    return changed;
}

void readCfg(const IniFile& ini, TSystemparameter& s)
{
    for (const auto& k : systemKeys)
        s.*(k.field) = ini.readInteger(System, k.key, k.def);
    s.tempset = ini.readBool(System, "tempset", false);
    for (int n = 0; n < UnitCount; ++n)
        s.machine[n] = ini.readInteger(System, machineKey(n), 0);
    s.CodeNo = ini.readInteger(System, "CodeNo", 0);

    for (int k = 0; k < ColourButtonCount; ++k)
        s.colourCaptions[k] = ini.readString(Colour, colourKeys[k], "");

    for (int i = 0; i < AddressCount; ++i) {
        const std::string n = std::to_string(i + 1);
        s.addresses[i].address = ini.readString(Adders, "Adders" + n, FactoryDeviceAddress);
        s.addresses[i].enabled = ini.readBool(Adders, "Addnum" + n, false);
    }
    s.ipport = ini.readInteger(Adders, "ipport", 100);

    normaliseSettings(s);
    applyUnitSelectionRule(s);
}

void writeCfg(const TSystemparameter& s, IniFile& ini)
{
    for (const auto& k : systemKeys)
        ini.writeInteger(System, k.key, s.*(k.field));
    ini.writeBool(System, "tempset", s.tempset);
    for (int n = 0; n < UnitCount; ++n)
        ini.writeInteger(System, machineKey(n), s.machine[n]);
    ini.writeInteger(System, "CodeNo", s.CodeNo);

    ini.writeString("CFGFILE", "CONTECT", "READ");

    for (int k = 0; k < ColourButtonCount; ++k)
        ini.writeString(Colour, colourKeys[k], s.colourCaptions[k]);

    for (int i = 0; i < AddressCount; ++i) {
        const std::string n = std::to_string(i + 1);
        ini.writeString(Adders, "Adders" + n, s.addresses[i].address);
        ini.writeBool(Adders, "Addnum" + n, s.addresses[i].enabled);
    }
    ini.writeInteger(Adders, "ipport", s.ipport);
}

} // namespace led
