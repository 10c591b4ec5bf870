#include "core/protocol/UploadEncoder.h"

#include "core/protocol/Frames.h"
#include "core/text/Attributes.h"

#include <algorithm>
#include <cstdio>

namespace led {

namespace {

constexpr int FirstScreenIndex = 0;
constexpr int LastScreenIndex = ScreenCount - 1;

char lowByte(int value)
{
    return static_cast<char>(value & 0xFF);
}

std::uint8_t byteAt(std::string_view s, std::size_t pos)
{
    return static_cast<std::uint8_t>(s[pos]);
}

// A text without its attribute byte is taken as imported text is: red on black.
std::uint8_t attrAt(std::string_view attr, std::size_t pos)
{
    return pos < attr.size() ? byteAt(attr, pos) : AttrForeRed;
}

void appendPair(Bytes& out, std::uint8_t attr, std::uint8_t b)
{
    out += static_cast<char>(attr);
    out += static_cast<char>(b);
}

void appendDoubleByte(Bytes& out, std::uint8_t attr, std::uint8_t lead, std::uint8_t trail)
{
    out += static_cast<char>(attr);
    out += static_cast<char>(attr);
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

EncodedText encodeNormal(std::string_view text, std::string_view attr, int maxCells)
{
    EncodedText out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::uint8_t b = byteAt(text, pos);
        const std::uint8_t a = attrAt(attr, pos);
        if (!isElementLead(b)) {
            if (out.cells + 1 > maxCells)
                break;
            appendPair(out.bytes, a | AttrSingleByte, b);
            out.cells += 1;
            pos += 1;
            continue;
        }
        // A lead byte at the very end goes out with a zero trail byte.
        const bool lone = pos + 1 >= text.size();
        const std::uint8_t trail = lone ? 0 : byteAt(text, pos + 1);
        if (b == GlyphLeadByte) {
            // A reference without a glyph behind it would make the sign show whatever
            // it keeps under that number.
            const int glyph = lone ? -1 : glyphNumber(trail);
            if (isGlyphNumber(glyph)) {
                if (out.cells + 2 > maxCells)
                    break;
                appendDoubleByte(out.bytes, 0x01, GlyphLeadByte, static_cast<std::uint8_t>(glyph));
                out.glyphCodes += static_cast<char>(trail);
                out.cells += 2;
            }
        } else {
            if (out.cells + 2 > maxCells)
                break;
            appendDoubleByte(out.bytes, a, b, trail);
            out.cells += 2;
        }
        pos += 2;
    }
    return out;
}

// Every double-byte character goes out wide; single bytes and glyphs have no wide form.
EncodedText encodeAllWide(std::string_view text, std::string_view attr, int maxCells)
{
    EncodedText out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::uint8_t b = byteAt(text, pos);
        if (!isElementLead(b)) {
            pos += 1;
            continue;
        }
        const bool lone = pos + 1 >= text.size();
        const std::uint8_t trail = lone ? 0 : byteAt(text, pos + 1);
        if (b != GlyphLeadByte) {
            if (out.cells + 4 > maxCells)
                break;
            const auto wide = static_cast<std::uint8_t>(attrAt(attr, pos) | AttrWide);
            appendDoubleByte(out.bytes, wide, b, trail);
            appendDoubleByte(out.bytes, wide | AttrWideSecond, b, trail);
            out.cells += 4;
        }
        pos += 2;
    }
    return out;
}

} // namespace

int textCells(int signWidth)
{
    return 2 * (signWidth & 0xFF);
}

EncodedText encodeText(const TContect& text, bool allWide, int maxCells)
{
    return allWide ? encodeAllWide(text.text, text.attr, maxCells)
                   : encodeNormal(text.text, text.attr, maxCells);
}

Bytes screenBlock(const TScreenRec& screen, const TContect& text, int signWidth, int sequence,
                  std::uint8_t streamXor, std::vector<std::string>* log)
{
    const int cells = textCells(signWidth);
    const EncodedText encoded = encodeText(text, screen.allWide != 0, cells);

    Bytes block;
    block.reserve(11 + 2 * static_cast<std::size_t>(cells));
    block += lowByte(signWidth);
    block += lowByte(sequence);
    block += lowByte(screen.stay);
    block += lowByte(screen.front);
    block += lowByte(screen.split);
    block += lowByte(screen.speed);
    block += encoded.bytes;
    for (int c = encoded.cells; c < cells; ++c)
        appendPair(block, AttrPadding, ' ');
    block += lowByte(screen.stay);
    block += lowByte(screen.rear);
    block += '\0';
    block += '\0';
    block += static_cast<char>(streamXor ^ xorSum(block));

    if (log)
        for (char code : encoded.glyphCodes)
            log->push_back("pic: " + hexDump(std::string_view(&code, 1)));
    return block;
}

UploadStream encodeScreens(const Document& doc, TSystemparameter& s, const GlyphTable& glyphs,
                           int first, int last, const UploadOptions& options)
{
    first = std::clamp(first, FirstScreenIndex, LastScreenIndex);
    last = std::clamp(last, FirstScreenIndex, LastScreenIndex);
    if (first > last)
        std::swap(first, last);

    UploadStream out;
    Bytes& bytes = out.bytes;
    bytes = addressHeader(s);
    bytes += commandFrame(CmdMode, options.append ? Bytes("\x01\x01", 2) : Bytes("\0\0", 2));
    bytes += commandFrame(CmdText);

    std::uint8_t streamXor = xorSum(bytes);
    auto append = [&](int screenNumber, int sequence) {
        const Bytes block = screenBlock(doc.screen(screenNumber), doc.content(screenNumber),
                                        s.signWidth, sequence, streamXor, &out.log);
        bytes += block;
        streamXor ^= xorSum(block);
    };
    if (options.displayFlagMode) {
        int sequence = 0;
        for (int n = 1; n <= ScreenCount; ++n)
            if (doc.screen(n).display != 0)
                append(n, ++sequence);
    } else {
        for (int n = first + 1; n <= last + 1; ++n)
            append(n, n);
    }
    bytes += endFrame();

    if (options.glyphs)
        bytes += encodeGlyphs(s, glyphs);
    return out;
}

Bytes encodeGlyphs(TSystemparameter& s, const GlyphTable& glyphs)
{
    const bool mono = s.colorSet == 1;
    const std::size_t offset = mono ? GlyphMonoCode : GlyphColourCode;
    const std::size_t size = mono ? 32 : 64;

    Bytes out = addressHeader(s);
    out += commandFrame(CmdGlyphs);
    for (int g = 0; g < GlyphCount; ++g) {
        const std::string_view code(reinterpret_cast<const char*>(glyphs.record(g)) + offset, size);
        // The sign keeps glyphs 0..2 whether drawn or not.
        if (g >= 3 && code.find_first_not_of('\0') == std::string_view::npos)
            continue;
        Bytes block{'\0', static_cast<char>(g)};
        block += code;
        block += static_cast<char>(xorSum(block));
        out += block;
    }
    out += endFrame();
    out += closedFrame(CmdPower, Bytes("\x01\x01", 2));
    return out;
}

Bytes transmissionDataFile(int baudRate, std::string_view stream)
{
    // Six digits whatever the rate, so the stream always starts at column 61.
    char baud[8];
    std::snprintf(baud, sizeof baud, "%06d", std::clamp(baudRate, 0, 999999));
    Bytes out(baud);
    out.append(54, '0');
    out += stream;
    out += "\r\n";
    return out;
}

} // namespace led
