#include "core/document/DeviceTable.h"
#include "core/text/Cp950.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace led {
namespace {

using namespace std::string_literals;

const Bytes SizeAndWidths = "8,101\r\ncw 0,40\r\ncw 1,40\r\ncw 2,110\r\ncw 3,50\r\ncw 4,110\r\n"
                            "cw 5,45\r\ncw 6,40\r\ncw 7,150\r\n";

Bytes headerRow()
{
    return big5("0,0,編號\r\n1,0,狀態\r\n2,0,IP\r\n3,0,PORT\r\n4,0,傳輸率\r\n5,0,更改\r\n6,0,"
                "傳送\r\n7,0,位置\r\n");
}

TEST(DeviceTable, WritesTheGridTextFormat)
{
    DeviceTable t;
    t.row(1) = {"192.168.0.5", "4001", "9600,None,8,1", big5("大廳"), true, 1};
    t.row(3).place = "a\r\nb"; // kept on one line
    Bytes expected = SizeAndWidths + headerRow();
    expected += "0,1,1\r\n2,1,192.168.0.5\r\n3,1,4001\r\n4,1,9600,None,8,1\r\n6,1,1\r\n7,1," +
                big5("大廳") + "\r\n";
    expected += "0,2,2\r\n6,2,0\r\n";
    expected += "0,3,3\r\n6,3,0\r\n7,3,a\t\x08"
                "b\r\n";
    for (int r = 4; r <= 100; ++r)
        expected += "0," + std::to_string(r) + "," + std::to_string(r) + "\r\n6," +
                    std::to_string(r) + ",0\r\n";
    EXPECT_EQ(t.serialize(), expected);

    std::string message = "stale";
    const DeviceTable back = DeviceTable::parse(expected, &message);
    EXPECT_EQ(message, "");
    t.row(1).status = 0; // the status picture is not kept
    EXPECT_EQ(back, t);
}

TEST(DeviceTable, ReadsWhatItCan)
{
    struct Case
    {
        const char* name;
        Bytes file;
        Bytes ip1; // row 1's IP cell after reading
        bool send1;
        const char* message; // "" for a clean file
    } cases[] = {
        {"clean", "8,101\r\n2,1,10.0.0.1\r\n6,1,1\r\n", "10.0.0.1", true, ""},
        {"LF line ends", "8,101\n2,1,10.0.0.1\n6,1,1\n", "10.0.0.1", true, ""},
        {"CR line ends", "8,101\r2,1,10.0.0.1\r6,1,1", "10.0.0.1", true, ""},
        {"another size", "8,50\r\n2,1,10.0.0.1\r\n", "10.0.0.1", false, ""},
        {"header row and numbers are the table's own", "8,101\r\n0,0,X\r\n0,1,9\r\n1,1,x\r\n", "",
         false, ""},
        {"send box only for 1", "8,101\r\n6,1,2\r\n", "", false, ""},
        {"send box only for 1, no blanks", "8,101\r\n6,1,1 \r\n", "", false, ""},
        {"empty file", "", "", false, "ip.ini 內容有誤，只讀入可辨識的資料。"},
        {"no size line", "2,1,10.0.0.1\r\n6,1,1\r\n", "10.0.0.1", true,
         "ip.ini 內容有誤，只讀入可辨識的資料。"},
        {"size line not first", "\r\n8,101\r\n2,1,10.0.0.1\r\n", "10.0.0.1", false,
         "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2"},
        {"garbage line", "8,101\r\nxyz\r\n2,1,10.0.0.1\r\n", "10.0.0.1", false,
         "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2"},
        {"cells outside the table", "8,101\r\n2,101,x\r\n8,1,x\r\n-1,1,x\r\n2,1,10.0.0.1\r\n",
         "10.0.0.1", false, "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2、3、4"},
        {"cut off in a cell line", "8,101\r\n2,1,10.0.0.1\r\n3,1", "10.0.0.1", false,
         "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：3"},
        {"bad widths", "8,101\r\ncw 9,40\r\ncw 1,abc\r\ncw 2\r\ncw 3,99999\r\n", "", false,
         "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2、3、4、5"},
        {"binary", "8,101\r\n\0\xFF\x01,\x02,\r\n2,1,\0x\r\n"s, "\0x"s, false,
         "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2"},
    };
    for (const auto& c : cases) {
        std::string message;
        const DeviceTable t = DeviceTable::parse(c.file, &message);
        EXPECT_EQ(t.row(1).ip, c.ip1) << c.name;
        EXPECT_EQ(t.row(1).send, c.send1) << c.name;
        EXPECT_EQ(message, c.message) << c.name;
        EXPECT_EQ(t.cellText(0, 0), big5("編號")) << c.name;
        EXPECT_EQ(t.cellText(1, 0), "1") << c.name;
    }
}

TEST(DeviceTable, ReadsTextAfterTheSecondCommaAndWidths)
{
    const DeviceTable t =
        DeviceTable::parse("8,101\r\ncw 2,200\r\n4,7,9600,None,8,1\r\n7,7,\t\x08\r\n3,7,\r\n");
    EXPECT_EQ(t.row(7).serialSettings, "9600,None,8,1");
    EXPECT_EQ(t.row(7).place, "\r\n");
    EXPECT_EQ(t.row(7).port, "");
    EXPECT_EQ(t.columnWidth(DevColIp), 200);
    EXPECT_EQ(t.columnWidth(DevColPort), 50);
}

TEST(DeviceTable, ManyBadLinesAreListedShort)
{
    Bytes file = "8,101\r\n";
    for (int i = 0; i < 12; ++i)
        file += "?\r\n";
    std::string message;
    DeviceTable::parse(file, &message);
    EXPECT_EQ(message,
              "ip.ini 內容有誤，只讀入可辨識的資料。\n無法辨識的行：2、3、4、5、6、7、8、9、"
              "10、11…");
}

TEST(DeviceTable, Files)
{
    test::TempDir dir;
    const auto path = dir / DeviceTableFileName;
    std::string message = "stale";
    EXPECT_EQ(DeviceTable::load(path, &message), DeviceTable{});
    EXPECT_EQ(message, "");

    DeviceTable t;
    t.row(5) = {"10.0.0.5", "4001", "", big5("二樓"), true, 0};
    ASSERT_TRUE(t.save(path));
    EXPECT_EQ(DeviceTable::load(path, &message), t);
    EXPECT_EQ(message, "");

    DeviceTable other;
    const FileResult failed = other.save(path, WriteFault::Rename);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(DeviceTable::load(path), t);

    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(DeviceTable::load(dir / "folder", &message), DeviceTable{});
    EXPECT_EQ(message.rfind("無法讀取 ip.ini\n", 0), 0u) << message;
}

TEST(DeviceTable, CellsAndServerList)
{
    DeviceTable t;
    t.setCellText(2, DevColIp, "10.0.0.2");
    t.setCellText(2, DevColPort, "4001");
    t.setCellText(2, DevColPlace, "x");
    t.setCellText(2, DevColSerial, "no"); // not editable
    t.setCellText(2, DevColNumber, "no"); // not editable
    t.setCellText(0, DevColIp, "no");     // header
    t.setCellText(101, DevColIp, "no");   // no such row
    t.row(2).send = true;
    t.row(4).send = true;
    EXPECT_EQ(t.cellText(2, DevColIp), "10.0.0.2");
    EXPECT_EQ(t.cellText(2, DevColSerial), "");
    EXPECT_EQ(t.cellText(2, DevColNumber), "2");
    EXPECT_EQ(t.cellText(2, DevColSend), ""); // a check box, not text
    EXPECT_EQ(t.cellText(0, DevColIp), "IP");
    EXPECT_EQ(t.cellText(101, DevColIp), "");

    const DeviceServerList list = t.serverList();
    EXPECT_EQ(list[1], (DeviceServerEntry{"10.0.0.2", "4001", true}));
    EXPECT_EQ(list[3], (DeviceServerEntry{"", "", true}));
    EXPECT_EQ(list[0], DeviceServerEntry{});
}

TEST(DeviceTable, PortNumbers)
{
    struct Case
    {
        const char* text;
        std::optional<std::uint16_t> port;
    } cases[] = {
        {"4001", 4001},          {" 4001 ", 4001},       {"65535", 65535},   {"0", std::nullopt},
        {"65536", std::nullopt}, {"40a1", std::nullopt}, {"", std::nullopt}, {"-1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ((DeviceServerEntry{"", c.text, true}.portNumber()), c.port) << c.text;
}

TEST(DeviceTable, ConnectTimeout)
{
    struct Case
    {
        const char* text;
        int ms;
    } cases[] = {
        {"1500", 1500},
        {"123456789012345", 1000},
        {"192.168.127.254", 1000},
        {"abc", 1000},
        {"", 1000},
        {"50", 100},
        {"9999", 9999},
        {"-5", 100},
        {"12a", 1000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(connectTimeoutFromText(c.text), c.ms) << c.text;

    TSystemparameter s;
    EXPECT_EQ(connectTimeoutMs(s), 1000); // never confirmed: the factory address
    setConnectTimeout(s, 1500);
    EXPECT_EQ(s.addresses[0].address, "1500");
    EXPECT_EQ(connectTimeoutMs(s), 1500);
}

} // namespace
} // namespace led
