#include "core/editor/TextList.h"

#include "core/text/Attributes.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace led {
namespace {

bool leadAt(std::string_view s, std::size_t i)
{
    return isElementLead(static_cast<std::uint8_t>(s[i]));
}

// round(n / d), an exact half going to the even neighbour.
std::size_t roundHalfEven(std::size_t n, std::size_t d)
{
    const std::size_t q = n / d;
    const std::size_t twice = 2 * (n % d);
    if (twice > d || (twice == d && q % 2 == 1))
        return q + 1;
    return q;
}

// Line ends go, so the lines flow on into each other; a 0x00 ends the text.
Bytes joinedText(std::string_view file, bool& endedAtZero)
{
    Bytes s;
    s.reserve(file.size());
    for (const char c : file) {
        if (c == '\0') {
            endedAtZero = true;
            break;
        }
        if (c != '\r' && c != '\n')
            s += c;
    }
    return s;
}

// True when the row starting at `at` would end with the lead byte of a double-byte character.
bool rowSplitsCharacter(std::string_view s, std::size_t at, std::size_t width)
{
    const std::size_t take = std::min(width, s.size() - at);
    std::size_t p = 0;
    while (p < take)
        p += leadAt(s, at + p) ? 2 : 1;
    return p > width;
}

void appendLine(std::string& message, const char* line)
{
    if (!message.empty())
        message += '\n';
    message += line;
}

} // namespace

std::size_t textListRowWidth(const TSystemparameter& settings)
{
    return settings.signWidth > 0 ? 2 * static_cast<std::size_t>(settings.signWidth) : 0;
}

TextListCut cutTextList(std::string_view fileBytes, std::size_t rowWidth, std::size_t maxPieces)
{
    const std::size_t width = std::max<std::size_t>(rowWidth, 2);
    TextListCut cut;
    Bytes s = joinedText(fileBytes, cut.endedAtZero);

    std::size_t end = 0;
    while (end < s.size())
        end += leadAt(s, end) ? 2 : 1;
    if (end > s.size()) {
        s.pop_back();
        cut.droppedHalfCharacter = true;
    }

    // A row shortened by a split character could leave the last bytes uncut with only
    // round(len / width) + 1 rows, so cutting goes on while bytes remain.
    const std::size_t wanted = roundHalfEven(s.size(), width) + 1;
    std::size_t at = 0;
    while ((cut.pieces.size() < wanted || at < s.size()) && cut.pieces.size() < maxPieces) {
        if (rowSplitsCharacter(s, at, width)) {
            // The character moves whole to the next row; a space keeps the row's width.
            cut.pieces.push_back(s.substr(at, width - 1) + ' ');
            at += width - 1;
        } else {
            cut.pieces.push_back(s.substr(at, width));
            at = std::min(at + width, s.size());
        }
    }
    cut.droppedBytes = s.size() - at;
    return cut;
}

Bytes textListAttributes(std::string_view text)
{
    Bytes attr(text.size(), static_cast<char>(AttrPadding));
    for (std::size_t i = 0; i < text.size(); ++i)
        if (leadAt(text, i))
            attr[i] = static_cast<char>(AttrForeRed);
    return attr;
}

TextListResult importTextList(Document& doc, const TSystemparameter& settings,
                              std::string_view fileBytes)
{
    const std::size_t width = textListRowWidth(settings);
    if (width < 2)
        return {false, texts::TextListBadWidth, 0};

    const TextListCut cut = cutTextList(fileBytes, width);
    for (int n = 1; n <= ScreenCount; ++n) {
        TContect& c = doc.content(n);
        const auto k = static_cast<std::size_t>(n - 1);
        if (k < cut.pieces.size())
            c = {cut.pieces[k], textListAttributes(cut.pieces[k])};
        else
            c = {};
    }
    doc.setSaved(false);

    TextListResult result;
    result.pieces = static_cast<int>(cut.pieces.size());
    if (cut.droppedBytes > 0)
        appendLine(result.message, texts::TextListOverflow);
    if (cut.endedAtZero)
        appendLine(result.message, texts::TextListZeroByte);
    if (cut.droppedHalfCharacter)
        appendLine(result.message, texts::TextListHalfCharacter);
    return result;
}

TextListResult loadTextList(Document& doc, const TSystemparameter& settings,
                            const std::filesystem::path& path)
{
    auto failure = [](const std::string& sentence, const std::string& reason) {
        return TextListResult{false, sentence + "\n" + reason, 0};
    };
    // A device or a pipe could be read without end.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return failure(texts::TextListReadFailed, path.string() + ": 不是一般檔案");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > MaxTextListBytes)
        return failure(texts::TextListReadFailed, texts::TextListTooLarge);

    std::string error;
    const auto bytes = readFileBytes(path, &error);
    if (!bytes)
        return failure(texts::TextListReadFailed, error);
    if (bytes->size() > MaxTextListBytes)
        return failure(texts::TextListReadFailed, texts::TextListTooLarge);
    return importTextList(doc, settings, *bytes);
}

Bytes exportTextList(const Document& doc)
{
    Bytes out;
    for (int slot = 0; slot < RecordCount; ++slot) {
        out += doc.pairs()[static_cast<std::size_t>(slot)].text;
        out += "\r\n";
    }
    return out;
}

TextListResult saveTextList(const Document& doc, const std::filesystem::path& path)
{
    if (const FileResult r = writeFileAtomic(path, exportTextList(doc)); !r)
        return {false, std::string(texts::TextListWriteFailed) + "\n" + r.error, 0};
    return {};
}

std::string textListDefaultName(int year, int month, int day)
{
    char name[32];
    std::snprintf(name, sizeof name, "%04d%02d%02d", year, month, day);
    return name;
}

} // namespace led
