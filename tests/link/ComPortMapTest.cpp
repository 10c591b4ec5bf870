#include "link/ComPortMap.h"
#include "core/document/FileIO.h"
#include "core/document/IniFile.h"
#include "support/TempDir.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace led {
namespace {

// Sets LEDCAPTION_COM<n> for one test and removes it afterwards.
class ComEnvironment
{
public:
    ComEnvironment(int com, const char* device)
        : m_name(ComPortMap::environmentName(com).toLatin1())
    {
        qputenv(m_name.constData(), device);
    }
    ~ComEnvironment() { qunsetenv(m_name.constData()); }

private:
    QByteArray m_name;
};

TEST(ComPortMap, EnvironmentOverIniOverDetected)
{
    ComPortMap map({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS10"),
                    QStringLiteral("/dev/ttyS2")});
    map.loadIni(IniFile::parse("[SYSTEM]\r\ncrtf=0\r\n[PORTS]\r\nCOM2=/dev/ttyACM0\r\n"
                               "COM3=\r\nCOM16=/dev/ttyS9\r\nCOM0=/dev/ttyS8\r\n"));
    const ComEnvironment env(1, "/dev/pts/7");

    struct Row
    {
        int com;
        const char* device;
        ComPortMap::Source source;
    };
    const Row rows[] = {
        {1, "/dev/pts/7", ComPortMap::Source::Environment},
        {2, "/dev/ttyACM0", ComPortMap::Source::Ini},
        {3, "/dev/ttyUSB0", ComPortMap::Source::Detected}, // ttyS2, ttyS10, ttyUSB0
        {4, "", ComPortMap::Source::None},
        {16, "", ComPortMap::Source::None},
        {0, "", ComPortMap::Source::None},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.com);
        EXPECT_EQ(map.devicePath(r.com).toStdString(), r.device);
        EXPECT_EQ(map.source(r.com), r.source);
    }
    EXPECT_EQ(map.statusText(2).toStdString(), "COM2 → /dev/ttyACM0");
    EXPECT_EQ(map.statusText(4).toStdString(), "COM4 → 找不到裝置");
    EXPECT_EQ(map.statusText(16).toStdString(), "TCP/IP");
}

TEST(ComPortMap, DetectedDevicesInNaturalOrder)
{
    const ComPortMap map({QStringLiteral("/dev/ttyS10"), QStringLiteral("/dev/ttyACM1"),
                          QStringLiteral("/dev/ttyS2"), QStringLiteral("/dev/ttyS02x")});
    EXPECT_EQ(map.devicePath(1).toStdString(), "/dev/ttyACM1");
    EXPECT_EQ(map.devicePath(2).toStdString(), "/dev/ttyS2");
    EXPECT_EQ(map.devicePath(3).toStdString(), "/dev/ttyS02x");
    EXPECT_EQ(map.devicePath(4).toStdString(), "/dev/ttyS10");
}

TEST(ComPortMap, IniFileFromDisk)
{
    test::TempDir dir;
    ComPortMap map;
    EXPECT_FALSE(map.loadIniFile(dir / "BAKART.INI"));
    ASSERT_TRUE(writeFileAtomic(dir / "BAKART.INI", "[Ports]\nCOM15 = /dev/ttyUSB3\n"));
    EXPECT_TRUE(map.loadIniFile(dir / "BAKART.INI"));
    EXPECT_EQ(map.devicePath(15).toStdString(), "/dev/ttyUSB3");
}

} // namespace
} // namespace led
