#include "core/document/MsgFile.h"

#include "core/document/TextLines.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace led {
namespace {

// After the 514 lines: 0x00, then this block. Plain readers stop at the 0x00.
//   magic "LCMSGEXT", version 1, u16 count, count × {u16 pair, u8 kind, u16 length, bytes},
//   u32 CRC-32 of everything from the magic to the last entry. All little-endian.
constexpr std::string_view ExtMagic = "LCMSGEXT";
constexpr std::uint8_t ExtVersion = 1;
constexpr std::uint8_t KindText = 0;
constexpr std::uint8_t KindAttr = 1;
constexpr char AttrStandIn = 0x01; // red on black
constexpr char TextStandIn = '?';

std::uint32_t crc32(std::string_view data)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : data)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void putU16(Bytes& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void putU32(Bytes& out, std::uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

std::uint32_t getLE(std::string_view b, std::size_t at, int size)
{
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

bool textNeedsExtension(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool attrNeedsExtension(std::string_view attr)
{
    return attr.find_first_of(std::string_view("\n\0\x19", 3)) != std::string_view::npos;
}

Bytes plainText(std::string_view text)
{
    Bytes out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\0')
            c = TextStandIn;
    return out;
}

Bytes plainAttr(std::string_view attr)
{
    Bytes out(attr);
    for (char& c : out) {
        if (c == '\r')
            c = 0x19;
        else if (c == '\n' || c == '\0' || c == 0x19)
            c = AttrStandIn;
    }
    return out;
}

void putRecord(Bytes& out, const TScreenRec& r)
{
    out += static_cast<char>(r.allWide);
    out += static_cast<char>(r.display);
    putU16(out, r.reserved);
    for (std::int32_t v : {r.speed, r.stay, r.front, r.rear, r.split})
        putU32(out, static_cast<std::uint32_t>(v));
}

TScreenRec getRecord(std::string_view b, std::size_t at)
{
    TScreenRec r;
    r.allWide = static_cast<std::uint8_t>(b[at]);
    r.display = static_cast<std::uint8_t>(b[at + 1]);
    r.reserved = static_cast<std::uint16_t>(getLE(b, at + 2, 2));
    r.speed = static_cast<std::int32_t>(getLE(b, at + 4, 4));
    r.stay = static_cast<std::int32_t>(getLE(b, at + 8, 4));
    r.front = static_cast<std::int32_t>(getLE(b, at + 12, 4));
    r.rear = static_cast<std::int32_t>(getLE(b, at + 16, 4));
    r.split = static_cast<std::int32_t>(getLE(b, at + 20, 4));
    return r;
}

struct ExtEntry
{
    std::size_t pair;
    std::uint8_t kind;
    Bytes bytes;
};

// Nothing when the block is absent, damaged or not ours.
std::optional<std::vector<ExtEntry>> parseExtension(std::string_view b)
{
    constexpr std::size_t head = ExtMagic.size() + 1 + 2;
    if (b.size() < head + 4 || b.substr(0, ExtMagic.size()) != ExtMagic)
        return std::nullopt;
    if (static_cast<std::uint8_t>(b[ExtMagic.size()]) != ExtVersion)
        return std::nullopt;
    const std::size_t count = getLE(b, ExtMagic.size() + 1, 2);
    std::vector<ExtEntry> entries;
    std::size_t at = head;
    for (std::size_t i = 0; i < count; ++i) {
        if (b.size() < at + 5)
            return std::nullopt;
        ExtEntry e;
        e.pair = getLE(b, at, 2);
        e.kind = static_cast<std::uint8_t>(b[at + 2]);
        const std::size_t len = getLE(b, at + 3, 2);
        at += 5;
        if (b.size() < at + len || e.pair >= TextPairCount || e.kind > KindAttr)
            return std::nullopt;
        e.bytes = Bytes(b.substr(at, len));
        at += len;
        entries.push_back(std::move(e));
    }
    if (b.size() < at + 4 || getLE(b, at, 4) != crc32(b.substr(0, at)))
        return std::nullopt;
    return entries;
}

} // namespace

bool needsExtension(const TContect& pair)
{
    return textNeedsExtension(pair.text) || attrNeedsExtension(pair.attr);
}

Bytes writeMsgImage(const Document& doc)
{
    Bytes out;
    out.reserve(MsgRecordsSize + 64 * 1024);
    for (const auto& r : doc.records())
        putRecord(out, r);

    Bytes ext;
    int extCount = 0;
    for (std::size_t k = 0; k < TextPairCount; ++k) {
        const auto& p = doc.pairs()[k];
        out += plainText(p.text);
        out += "\r\n";
        out += plainAttr(p.attr);
        out += "\r\n";
        const std::pair<std::uint8_t, const Bytes*> parts[] = {{KindText, &p.text},
                                                               {KindAttr, &p.attr}};
        for (const auto& [kind, bytes] : parts) {
            const bool affected =
                kind == KindText ? textNeedsExtension(*bytes) : attrNeedsExtension(*bytes);
            if (!affected)
                continue;
            putU16(ext, static_cast<std::uint32_t>(k));
            ext += static_cast<char>(kind);
            putU16(ext, static_cast<std::uint32_t>(std::min<std::size_t>(bytes->size(), 0xFFFF)));
            ext += bytes->substr(0, 0xFFFF);
            ++extCount;
        }
    }
    if (extCount == 0)
        return out;

    Bytes block(ExtMagic);
    block += static_cast<char>(ExtVersion);
    putU16(block, static_cast<std::uint32_t>(extCount));
    block += ext;
    putU32(block, crc32(block));
    out += '\0';
    out += block;
    return out;
}

MsgReadResult readMsgImage(std::string_view bytes, Document& doc)
{
    MsgReadResult result;
    const std::size_t whole = std::min<std::size_t>(bytes.size() / ScreenRecordSize, RecordCount);
    for (std::size_t k = 0; k < whole; ++k)
        doc.records()[k] = getRecord(bytes, k * ScreenRecordSize);
    if (bytes.size() < MsgRecordsSize) {
        result.ok = false;
        result.error = "檔案長度只有 " + std::to_string(bytes.size()) + " 位元組，不足 " +
                       std::to_string(MsgRecordsSize) + " 位元組的畫面資料";
        return result;
    }

    // Lines end at CR, LF or CR LF; a 0x00 byte ends the text part.
    std::vector<std::string_view> lines = splitTextLines(bytes.substr(MsgRecordsSize));
    const bool exactLineCount = lines.size() == MsgLineCount;
    if (lines.size() > MsgLineCount)
        lines.resize(MsgLineCount);

    const std::size_t pairsRead = lines.size() / 2;
    for (std::size_t k = 0; k < pairsRead; ++k) {
        auto& p = doc.pairs()[k];
        p.text = Bytes(lines[2 * k]);
        p.attr = Bytes(lines[2 * k + 1]);
        for (char& c : p.attr)
            if (c == 0x19)
                c = '\r';
    }
    if (lines.size() < MsgLineCount) {
        result.ok = false;
        result.error = "文字資料只有 " + std::to_string(lines.size()) + " 行，應有 " +
                       std::to_string(MsgLineCount) + " 行";
    } else if (const auto zero = bytes.find('\0', MsgRecordsSize);
               exactLineCount && zero != std::string_view::npos) {
        if (auto entries = parseExtension(bytes.substr(zero + 1))) {
            for (auto& e : *entries) {
                auto& p = doc.pairs()[e.pair];
                (e.kind == KindText ? p.text : p.attr) = std::move(e.bytes);
            }
            result.extension = true;
        }
    }

    // The editor keeps one attribute byte per text byte; files written by older
    // programs may have lost some, so screens get red padding or lose extra bytes.
    for (std::size_t k = 0; k < std::min<std::size_t>(pairsRead, ScreenCount); ++k) {
        auto& p = doc.pairs()[k];
        if (p.attr.size() != p.text.size()) {
            p.attr.resize(p.text.size(), static_cast<char>(0x41));
            ++result.repairedPairs;
        }
    }
    return result;
}

} // namespace led
