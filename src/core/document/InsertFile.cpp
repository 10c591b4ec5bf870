#include "core/document/InsertFile.h"

#include "core/document/TextLines.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
#include <vector>

namespace led {
namespace {

std::optional<int> parseCount(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (line.empty() || ec != std::errc{} || end != line.data() + line.size())
        return std::nullopt;
    if (value < InsertCountMin || value > InsertCountMax)
        return std::nullopt;
    return value;
}

// A line break inside a text would shift every line after it, the count included.
void putLine(Bytes& out, std::string_view text)
{
    for (char c : text)
        out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    out += "\r\n";
}

} // namespace

InsertReadResult readInsertImage(std::string_view bytes, InsertBook& book)
{
    InsertReadResult result;
    const std::vector<std::string_view> lines = splitTextLines(bytes);
    if (lines.empty())
        return result;

    const bool withCommon = bytes.size() > CommonPhrasesAbove;
    const bool withAutomatic = bytes.size() > AutoTextsAbove;
    const int announced = InsertFileLinesWithoutCommon + (withCommon ? PhraseCount : 0) +
                          (withAutomatic ? AutoRowCount : 0);
    const int held = static_cast<int>(std::min<std::size_t>(lines.size(), InsertFileLineCount));

    // Long phrases can push a file of an earlier layout over the size limits; its line
    // count still tells which layout it is.
    bool readCommon = withCommon;
    bool readAutomatic = withAutomatic;
    if (held < announced) {
        result.truncated = true;
        if (held == InsertFileLinesWithoutCommon) {
            readCommon = false;
            readAutomatic = false;
        } else if (held == InsertFileLinesWithoutAutomatic) {
            readAutomatic = false;
        }
    }

    std::size_t next = 0;
    auto fill = [&](std::span<Bytes> texts) {
        for (auto& t : texts) {
            if (next >= lines.size())
                return;
            t = Bytes(lines[next++]);
        }
    };
    fill(book.dedicated);
    fill(book.manual);
    if (readCommon)
        fill(book.common);
    if (readAutomatic)
        fill(book.automatic);
    if (next < lines.size()) {
        if (auto count = parseCount(lines[next]))
            book.insertCount = *count;
        else
            result.badCount = true;
        ++next;
    }
    result.linesUsed = static_cast<int>(next);
    return result;
}

Bytes writeInsertImage(const InsertBook& book)
{
    Bytes out;
    out.reserve(16 * 1024);
    for (const auto& t : book.dedicated)
        putLine(out, t);
    for (const auto& t : book.manual)
        putLine(out, t);
    for (const auto& t : book.common)
        putLine(out, t);
    for (const auto& t : book.automatic)
        putLine(out, t);
    putLine(out, std::to_string(std::clamp(book.insertCount, InsertCountMin, InsertCountMax)));
    return out;
}

} // namespace led
