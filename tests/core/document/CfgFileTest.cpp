#include "core/document/CfgFile.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

#include <sstream>

namespace led {
namespace {

std::vector<std::string> lines(const Bytes& bytes)
{
    std::vector<std::string> out;
    std::istringstream in(bytes);
    for (std::string l; std::getline(in, l);) {
        EXPECT_EQ(l.back(), '\r');
        l.pop_back();
        out.push_back(l);
    }
    return out;
}

TEST(CfgFile, EmptyFileGivesDefaults)
{
    TSystemparameter s;
    s.port = 5;
    s.machine[9] = 1;
    readCfg(IniFile(), s);
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.colorSet, 0);
    EXPECT_EQ(s.signWidth, 10);
    EXPECT_EQ(s.baudIndex, 6);
    EXPECT_FALSE(s.tempset);
    EXPECT_EQ(s.machine[0], 1); // no unit selected: unit 0
    EXPECT_EQ(s.machine[9], 0);
    EXPECT_EQ(s.addresses[0].address, FactoryDeviceAddress);
    EXPECT_FALSE(s.addresses[4].enabled);
    EXPECT_EQ(s.ipport, 100);
    EXPECT_TRUE(s.colourCaptions[ForeRed].empty());
}

TEST(CfgFile, WritesEveryKeyInOrder)
{
    TSystemparameter s;
    s.port = 16;
    s.colorSet = 2;
    s.tempset = true;
    s.machine[0] = 1;
    s.machine[255] = 1;
    s.CodeNo = 7;
    s.addresses[0].address = "3000";
    s.addresses[0].enabled = true;
    setCurrentColours(s, ForeYellow, BackBlack);
    IniFile ini;
    writeCfg(s, ini);
    const auto got = lines(ini.serialize());

    std::vector<std::string> want = {
        "[SYSTEM]",      "COMPORT=16",       "COLORSET=2",    "SETWORD=10",
        "SENDTEXT=0",    "SendPaint=0",      "SendSetTime=0", "Sendtimer=0",
        "SendMessage=0", "SendClosePower=0", "SendReset=0",   "Onmodern=0",
        "Speed=6",       "opencloseled=0",   "Settime=0",     "tempset=1",
    };
    for (int n = 0; n < 256; ++n)
        want.push_back("MACHINE" + std::to_string(n) + "=" + (n == 0 || n == 255 ? "1" : "0"));
    const Bytes fore = big5("前景"), back = big5("背景");
    for (const std::string l :
         {"CodeNo=7", "[CFGFILE]", "CONTECT=READ", "[Color]", "ForeBlack=", "ForeRed="})
        want.push_back(l);
    want.push_back("ForeYellow=" + fore);
    want.push_back("ForeGreen=");
    want.push_back("BackBlack=" + back);
    for (const std::string l :
         {"BackRed=", "BackYellow=", "BackGreen=", "[Adders]", "Adders1=3000", "Addnum1=1"})
        want.push_back(l);
    for (int i = 2; i <= 5; ++i) {
        want.push_back("Adders" + std::to_string(i) + "=" + FactoryDeviceAddress);
        want.push_back("Addnum" + std::to_string(i) + "=0");
    }
    want.push_back("ipport=100");
    EXPECT_EQ(got, want);
}

TEST(CfgFile, ReadsWhatItWrote)
{
    TSystemparameter s;
    s.port = 3;
    s.colorSet = 1;
    s.signWidth = 40;
    s.SendReset = 17; // carried unchanged
    s.baudIndex = 14;
    s.opencloseled = 1;
    s.Settime = 1;
    s.machine[12] = 1;
    s.addresses[2] = {"\xA4\xA4", true};
    s.ipport = 4001;
    setCurrentColours(s, ForeGreen, BackRed);
    IniFile ini;
    writeCfg(s, ini);

    TSystemparameter r;
    readCfg(IniFile::parse(ini.serialize()), r);
    IniFile again;
    writeCfg(r, again);
    EXPECT_EQ(again.serialize(), ini.serialize());
    EXPECT_EQ(r.machine[0], 0);
    EXPECT_EQ(r.SendReset, 17);
    EXPECT_EQ(currentForeButton(r), ForeGreen);
    EXPECT_EQ(currentBackButton(r), BackRed);
}

TEST(CfgFile, KeepsKeysItDoesNotKnow)
{
    const Bytes file = "[SYSTEM]\r\nCOMPORT=2\r\nExtra=\xA4\xA4\r\n[Mine]\r\nk=v\r\n";
    IniFile ini = IniFile::parse(file);
    TSystemparameter s;
    readCfg(ini, s);
    writeCfg(s, ini);
    const Bytes out = ini.serialize();
    EXPECT_NE(out.find("Extra=\xA4\xA4\r\n"), Bytes::npos);
    EXPECT_NE(out.find("[Mine]\r\nk=v\r\n"), Bytes::npos);
    EXPECT_EQ(out.rfind("[SYSTEM]\r\nCOMPORT=2\r\nExtra=", 0), 0u);
}

TEST(CfgFile, OutOfRangeValuesBecomeDefaults)
{
    struct Case
    {
        const char* file;
        int port, baud, width, colour;
    } cases[] = {
        {"[SYSTEM]\nCOMPORT=0\nSpeed=0\nSETWORD=0\nCOLORSET=7\n", 1, 6, 10, 0},
        {"[SYSTEM]\nCOMPORT=99\nSpeed=15\nSETWORD=300\nCOLORSET=-1\n", 1, 6, 10, 0},
        {"[SYSTEM]\nCOMPORT=16\nSpeed=14\nSETWORD=40\nCOLORSET=2\n", 16, 14, 40, 2},
        {"[SYSTEM]\nCOMPORT=1\nSpeed=1\nSETWORD=5\nCOLORSET=0\n", 1, 1, 5, 0},
        {"[SYSTEM]\nCOMPORT=x\nSpeed=\nSETWORD=4\n", 1, 6, 4, 0},
        {"[SYSTEM]\nSETWORD=255\n", 1, 6, 255, 0},
        {"[SYSTEM]\nSETWORD=256\n", 1, 6, 10, 0},
    };
    for (const auto& c : cases) {
        TSystemparameter s;
        readCfg(IniFile::parse(c.file), s);
        EXPECT_EQ(s.port, c.port) << c.file;
        EXPECT_EQ(s.baudIndex, c.baud) << c.file;
        EXPECT_EQ(s.signWidth, c.width) << c.file;
        EXPECT_EQ(s.colorSet, c.colour) << c.file;
    }
}

} // namespace
} // namespace led
