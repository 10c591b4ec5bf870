#pragma once

#include "core/document/FileIO.h"
#include "core/document/Settings.h"
#include "core/text/Big5.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace led {

inline constexpr int DeviceRowCount = 100; // rows 1..100 under the header row
inline constexpr int DeviceColumnCount = 8;
inline constexpr int DeviceCellMaxChars = 20; // what an edited cell may hold
inline constexpr const char* DeviceTableFileName = "ip.ini";

enum DeviceColumn
{
    DevColNumber,
    DevColStatus, // picture, no text
    DevColIp,
    DevColPort,
    DevColSerial,
    DevColButton, // "設定" button, no text
    DevColSend,   // check box; "1"/"0" in the file only
    DevColPlace,
};

namespace texts {
inline constexpr const char* DeviceTableDamaged = "ip.ini 內容有誤，只讀入可辨識的資料。";
inline constexpr const char* DeviceTableBadLines = "無法辨識的行：";
inline constexpr const char* DeviceTableUnreadable = "無法讀取 ip.ini";
inline constexpr const char* DeviceTableSaveFailed = "無法儲存 ip.ini";
} // namespace texts

struct DeviceRow
{
    Bytes ip, port, serialSettings, place; // Big5 cell texts
    bool send = false;                     // send box
    int status = 0;                        // status picture: 1 = connection test passed

    bool operator==(const DeviceRow&) const = default;
};

// What the network writers use of a row.
struct DeviceServerEntry
{
    Bytes address;
    Bytes port;
    bool send = false;

    // The port text as a TCP port (1..65535); nothing when the text is no such number.
    std::optional<std::uint16_t> portNumber() const;

    bool operator==(const DeviceServerEntry&) const = default;
};

using DeviceServerList = std::array<DeviceServerEntry, DeviceRowCount>;

// The device server table of the TCP/IP dialog and the send dialog, kept in ip.ini in the
// grid's text format. Rows are numbered 1..100 as in the grid; row 0 is the header.
class DeviceTable
{
public:
    DeviceTable() = default;

    // Cells are set from every line that can be read; message (UTF-8) is left empty for a
    // clean file and otherwise says what was skipped. Never fails.
    static DeviceTable parse(std::string_view bytes, std::string* message = nullptr);
    Bytes serialize() const;

    // A missing file is an empty table without a message.
    static DeviceTable load(const std::filesystem::path& path, std::string* message = nullptr);
    // On failure the old file is untouched and the result holds the system's reason.
    FileResult save(const std::filesystem::path& path, WriteFault fault = WriteFault::None) const;

    DeviceRow& row(int number) { return m_rows.at(number - 1); }
    const DeviceRow& row(int number) const { return m_rows.at(number - 1); }

    // The grid's view: header texts, row numbers and the text columns (Big5). Picture,
    // button and check box columns read as empty.
    Bytes cellText(int row, int column) const;
    // Only the editable columns IP, PORT and place take a text; other cells are ignored.
    void setCellText(int row, int column, std::string_view text);

    int columnWidth(int column) const { return m_widths.at(column); }
    void setColumnWidth(int column, int pixels) { m_widths.at(column) = pixels; }

    // Before a device search: status pictures, IP, PORT and serial settings of every row.
    void clearSearchCells();

    // Address, port and send flag of every row, in row order.
    DeviceServerList serverList() const;

    bool operator==(const DeviceTable&) const = default;

private:
    std::array<DeviceRow, DeviceRowCount> m_rows{};
    std::array<int, DeviceColumnCount> m_widths{40, 40, 110, 50, 110, 45, 40, 150};
};

// The connect time-out is kept as decimal text in the first address entry of the settings.
inline constexpr int DefaultConnectTimeoutMs = 1000;
inline constexpr int MinConnectTimeoutMs = 100;
inline constexpr int MaxConnectTimeoutMs = 9999;

// The time-out in ms for a kept text: a text of more than four characters or one that is
// no number gives 1000; numbers are held to 100..9999, as the dialog's spin field does.
int connectTimeoutFromText(std::string_view text);
// What the network writers and the connection test use; a text never confirmed (the
// factory address) gives 1000 rather than making every connection fail.
int connectTimeoutMs(const TSystemparameter& s);
// "確定" stores the field's value.
void setConnectTimeout(TSystemparameter& s, int ms);

} // namespace led
