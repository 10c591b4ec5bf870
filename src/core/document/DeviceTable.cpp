#include "core/document/DeviceTable.h"

#include "core/text/Cp950.h"

#include <algorithm>
#include <vector>

namespace led {

namespace fs = std::filesystem;

namespace {

constexpr int FileRowCount = DeviceRowCount + 1; // the header row is kept too
constexpr int MaxColumnWidth = 10000;
constexpr std::size_t ListedBadLines = 10;

constexpr const char* Headers[DeviceColumnCount] = {"編號",   "狀態", "IP",   "PORT",
                                                    "傳輸率", "更改", "傳送", "位置"};

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Plain decimal digits only; nothing for an empty, signed or overlong text.
std::optional<int> parseDigits(std::string_view s)
{
    if (s.empty() || s.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The grid keeps a cell on one line: CR is written as TAB and LF as 08.
Bytes encodeCell(std::string_view text)
{
    Bytes out(text);
    for (char& c : out) {
        if (c == '\r')
            c = '\t';
        else if (c == '\n')
            c = '\x08';
    }
    return out;
}

Bytes decodeCell(std::string_view text)
{
    Bytes out(text);
    for (char& c : out) {
        if (c == '\t')
            c = '\r';
        else if (c == '\x08')
            c = '\n';
    }
    return out;
}

// Splits at CR, LF or CR LF; an encoded cell never holds either.
std::vector<std::string_view> splitLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

// "8,101": column count and row count.
bool isSizeLine(std::string_view line)
{
    const auto comma = line.find(',');
    return comma != std::string_view::npos && parseDigits(line.substr(0, comma)) &&
           parseDigits(line.substr(comma + 1));
}

struct CellLine
{
    int column = 0;
    int row = 0;
    std::string_view text;
};

std::optional<CellLine> parseCellLine(std::string_view line)
{
    const auto first = line.find(',');
    if (first == std::string_view::npos)
        return std::nullopt;
    const auto second = line.find(',', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto column = parseDigits(line.substr(0, first));
    const auto row = parseDigits(line.substr(first + 1, second - first - 1));
    if (!column || !row || *column >= DeviceColumnCount || *row >= FileRowCount)
        return std::nullopt;
    return CellLine{*column, *row, line.substr(second + 1)};
}

std::string badLinesText(const std::vector<int>& bad)
{
    std::string out = texts::DeviceTableBadLines;
    for (std::size_t i = 0; i < bad.size() && i < ListedBadLines; ++i) {
        if (i > 0)
            out += "、";
        out += std::to_string(bad[i]);
    }
    if (bad.size() > ListedBadLines)
        out += "…";
    return out;
}

} // namespace

std::optional<std::uint16_t> DeviceServerEntry::portNumber() const
{
    const auto value = parseDigits(trimBlanks(port));
    if (!value || *value < 1 || *value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

DeviceTable DeviceTable::parse(std::string_view bytes, std::string* message)
{
    DeviceTable table;
    std::vector<int> bad;
    bool sized = false;
    const auto lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int lineNumber = static_cast<int>(i) + 1;
        if (i == 0 && isSizeLine(line)) {
            // Any size is taken; cells outside our table are skipped below.
            sized = true;
            continue;
        }
        if (line.empty())
            continue;
        if (line.starts_with("cw ")) {
            const std::string_view rest = line.substr(3);
            const auto comma = rest.find(',');
            const auto column = parseDigits(rest.substr(0, comma));
            const auto width = comma == std::string_view::npos
                                   ? std::nullopt
                                   : parseDigits(rest.substr(comma + 1));
            if (column && width && *column < DeviceColumnCount && *width <= MaxColumnWidth)
                table.m_widths[static_cast<std::size_t>(*column)] = *width;
            else
                bad.push_back(lineNumber);
            continue;
        }
        const auto cell = parseCellLine(line);
        if (!cell) {
            bad.push_back(lineNumber);
            continue;
        }
        // Header texts and row numbers are the table's own; the rest are set as read.
        if (cell->row == 0)
            continue;
        DeviceRow& r = table.row(cell->row);
        switch (cell->column) {
        case DevColIp:
            r.ip = decodeCell(cell->text);
            break;
        case DevColPort:
            r.port = decodeCell(cell->text);
            break;
        case DevColSerial:
            r.serialSettings = decodeCell(cell->text);
            break;
        case DevColSend:
            r.send = cell->text == "1";
            break;
        case DevColPlace:
            r.place = decodeCell(cell->text);
            break;
        default:
            break;
        }
    }

    if (message) {
        message->clear();
        if (!sized || !bad.empty()) {
            *message = texts::DeviceTableDamaged;
            if (!bad.empty())
                *message += "\n" + badLinesText(bad);
        }
    }
    return table;
}

Bytes DeviceTable::cellText(int row, int column) const
{
    if (row < 0 || row >= FileRowCount || column < 0 || column >= DeviceColumnCount)
        return {};
    if (row == 0)
        return big5(Headers[column]);
    const DeviceRow& r = this->row(row);
    switch (column) {
    case DevColNumber:
        return std::to_string(row);
    case DevColIp:
        return r.ip;
    case DevColPort:
        return r.port;
    case DevColSerial:
        return r.serialSettings;
    case DevColPlace:
        return r.place;
    default:
        return {};
    }
}

void DeviceTable::setCellText(int row, int column, std::string_view text)
{
    if (row < 1 || row > DeviceRowCount)
        return;
    DeviceRow& r = this->row(row);
    switch (column) {
    case DevColIp:
        r.ip = Bytes(text);
        break;
    case DevColPort:
        r.port = Bytes(text);
        break;
    case DevColPlace:
        r.place = Bytes(text);
        break;
    default:
        break;
    }
}

Bytes DeviceTable::serialize() const
{
    Bytes out = std::to_string(DeviceColumnCount) + "," + std::to_string(FileRowCount) + "\r\n";
    for (int c = 0; c < DeviceColumnCount; ++c)
        out += "cw " + std::to_string(c) + "," + std::to_string(m_widths[c]) + "\r\n";
    for (int r = 0; r < FileRowCount; ++r) {
        for (int c = 0; c < DeviceColumnCount; ++c) {
            Bytes text = cellText(r, c);
            if (r > 0 && c == DevColSend)
                text = row(r).send ? "1" : "0";
            if (text.empty())
                continue;
            out += std::to_string(c) + "," + std::to_string(r) + "," + encodeCell(text) + "\r\n";
        }
    }
    return out;
}

DeviceTable DeviceTable::load(const fs::path& path, std::string* message)
{
    if (message)
        message->clear();
    std::error_code ec;
    if (fs::status(path, ec).type() == fs::file_type::not_found)
        return {};
    std::string error;
    const auto bytes = readFileBytes(path, &error);
    if (!bytes) {
        if (message)
            *message = std::string(texts::DeviceTableUnreadable) + "\n" + error;
        return {};
    }
    return parse(*bytes, message);
}

FileResult DeviceTable::save(const fs::path& path, WriteFault fault) const
{
    return writeFileAtomic(path, serialize(), fault);
}

void DeviceTable::clearSearchCells()
{
    for (DeviceRow& r : m_rows) {
        r.status = 0;
        r.ip.clear();
        r.port.clear();
        r.serialSettings.clear();
    }
}

DeviceServerList DeviceTable::serverList() const
{
    DeviceServerList list;
    for (int i = 0; i < DeviceRowCount; ++i)
        list[i] = {m_rows[i].ip, m_rows[i].port, m_rows[i].send};
    return list;
}

int connectTimeoutFromText(std::string_view text)
{
    if (text.size() > 4)
        return DefaultConnectTimeoutMs;
    std::string_view t = trimBlanks(text);
    const bool negative = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.remove_prefix(1);
    const auto value = parseDigits(t);
    if (!value)
        return DefaultConnectTimeoutMs;
    return std::clamp(negative ? -*value : *value, MinConnectTimeoutMs, MaxConnectTimeoutMs);
}

int connectTimeoutMs(const TSystemparameter& s)
{
    return connectTimeoutFromText(s.addresses[0].address);
}

void setConnectTimeout(TSystemparameter& s, int ms)
{
    s.addresses[0].address =
        std::to_string(std::clamp(ms, MinConnectTimeoutMs, MaxConnectTimeoutMs));
}

} // namespace led
