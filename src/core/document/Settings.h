#pragma once

#include "core/text/Big5.h"

#include <array>
#include <filesystem>
#include <string>

namespace led {

inline constexpr int PortTcpIp = 16;
inline constexpr int UnitCount = 256;
inline constexpr int AddressCount = 5;

// Shipped address of the serial device servers we know; only kept and written back.
inline constexpr const char* FactoryDeviceAddress = "192.168.127.254";

struct nTCpip
{
    Bytes address = FactoryDeviceAddress; // entry 1 holds the connect time-out in ms
    bool enabled = false;

    bool operator==(const nTCpip&) const = default;
};

// The eight colour panels of the editor, in .CFG key order.
enum ColourButton
{
    ForeBlack,
    ForeRed,
    ForeYellow,
    ForeGreen,
    BackBlack,
    BackRed,
    BackYellow,
    BackGreen,
    ColourButtonCount
};

struct TSystemparameter
{
    std::string projectName = "未命名"; // UTF-8
    std::filesystem::path cfgPath, msgPath, graPath, schPath, intPath;

    int port = 1;     // 1..15 COM port, 16 TCP/IP
    int colorSet = 0; // 1 single-colour, 2 colour, 0 not set
    int signWidth = 10;
    // Carried from the .CFG and back, used by nothing else.
    int SENDTEXT = 0, SendPaint = 0, SendSetTime = 0, Sendtimer = 0, SendMessage = 0,
        SendClosePower = 0, SendReset = 0, Onmodern = 0;
    int baudIndex = 6;
    int opencloseled = 0;
    int Settime = 0;
    bool tempset = false;
    std::array<int, UnitCount> machine{}; // 1 = unit addressed
    int selectedCount = 0;                // rebuilt from machine[] before use
    Bytes selectedUnits;
    int CodeNo = 0;

    // Captions of the colour panels as kept in [Color] (Big5): "前景"/"背景" marks the current one.
    std::array<Bytes, ColourButtonCount> colourCaptions{};

    std::array<nTCpip, AddressCount> addresses{};
    int ipport = 100;
};

// Whenever settings are read and no unit is selected, unit 0 is.
void applyUnitSelectionRule(TSystemparameter& s);

// "傳送台數: " and the selected unit numbers, each followed by a blank (UTF-8).
std::string unitPanelText(const TSystemparameter& s);

// Index of the captioned panel of a group, or -1 when none carries the caption.
int currentForeButton(const TSystemparameter& s);
int currentBackButton(const TSystemparameter& s);
void setCurrentColours(TSystemparameter& s, ColourButton fore, ColourButton back);

} // namespace led
