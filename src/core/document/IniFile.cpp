#include "core/document/IniFile.h"

#include <climits>
#include <utility>

namespace led {
namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// ASCII case folding that leaves the trail byte of a double-byte character alone.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    bool trail = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (!trail && x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (!trail && y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
        trail = !trail && isSystemLeadByte(x);
    }
    return true;
}

} // namespace

IniFile IniFile::parse(std::string_view bytes)
{
    IniFile ini;
    bool eolSeen = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        Line line;
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        line.raw = Bytes(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            line.eol += bytes[pos++];
        if (pos < bytes.size() && bytes[pos] == '\n')
            line.eol += bytes[pos++];
        if (!eolSeen && !line.eol.empty()) {
            ini.m_eol = line.eol;
            eolSeen = true;
        }

        const std::string_view t = trim(line.raw);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']');
            Section section;
            section.name = Bytes(
                trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1)));
            section.header = std::move(line);
            ini.m_sections.push_back(std::move(section));
            continue;
        }
        const auto eq = t.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string_view::npos) {
            line.entry = true;
            line.key = Bytes(trim(t.substr(0, eq)));
            line.value = Bytes(trim(t.substr(eq + 1)));
        }
        if (ini.m_sections.empty())
            ini.m_preamble.push_back(std::move(line));
        else
            ini.m_sections.back().lines.push_back(std::move(line));
    }
    return ini;
}

Bytes IniFile::serialize() const
{
    Bytes out;
    auto put = [&out](const Line& l) {
        out += l.raw;
        out += l.eol;
    };
    for (const auto& l : m_preamble)
        put(l);
    for (const auto& s : m_sections) {
        put(s.header);
        for (const auto& l : s.lines)
            put(l);
    }
    return out;
}

const IniFile::Section* IniFile::findSection(std::string_view section) const
{
    for (const auto& s : m_sections)
        if (sameName(s.name, section))
            return &s;
    return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view section)
{
    return const_cast<Section*>(std::as_const(*this).findSection(section));
}

bool IniFile::hasSection(std::string_view section) const
{
    return findSection(section) != nullptr;
}

const IniFile::Line* IniFile::find(std::string_view section, std::string_view key) const
{
    // A section may appear twice in a hand-edited file; the first entry found wins.
    for (const auto& s : m_sections) {
        if (!sameName(s.name, section))
            continue;
        for (const auto& l : s.lines)
            if (l.entry && sameName(l.key, key))
                return &l;
    }
    return nullptr;
}

std::optional<Bytes> IniFile::value(std::string_view section, std::string_view key) const
{
    if (const Line* l = find(section, key))
        return l->value;
    return std::nullopt;
}

Bytes IniFile::readString(std::string_view section, std::string_view key,
                          std::string_view def) const
{
    const Line* l = find(section, key);
    return l ? l->value : Bytes(def);
}

int IniFile::parseInteger(std::string_view text, int def)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        if (value <= INT_MAX)
            value = value * 10 + (text[i] - '0');
    }
    if (!digits)
        return def;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const
{
    const Line* l = find(section, key);
    return l ? parseInteger(l->value, def) : def;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

Bytes IniFile::newLineEnd() const
{
    return m_eol;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    if (Line* l = const_cast<Line*>(find(section, key))) {
        if (l->value != value) {
            l->value = Bytes(value);
            l->raw = l->key + "=" + l->value;
        }
        return;
    }

    Line line;
    line.entry = true;
    line.key = Bytes(key);
    line.value = Bytes(value);
    line.raw = line.key + "=" + line.value;
    line.eol = newLineEnd();

    // A file whose last line had no end gets one before anything is added after it.
    auto closeLast = [this](Line& last) {
        if (last.eol.empty())
            last.eol = newLineEnd();
    };

    Section* s = findSection(section);
    if (!s) {
        if (!m_sections.empty()) {
            auto& prev = m_sections.back();
            closeLast(prev.lines.empty() ? prev.header : prev.lines.back());
        } else if (!m_preamble.empty()) {
            closeLast(m_preamble.back());
        }
        Section added;
        added.name = Bytes(section);
        added.header.raw = "[" + added.name + "]";
        added.header.eol = newLineEnd();
        added.lines.push_back(std::move(line));
        m_sections.push_back(std::move(added));
        return;
    }

    // After the section's last entry, so blank lines that separate sections stay last.
    std::size_t at = 0;
    for (std::size_t i = 0; i < s->lines.size(); ++i)
        if (s->lines[i].entry)
            at = i + 1;
    if (at == 0)
        closeLast(s->header);
    else
        closeLast(s->lines[at - 1]);
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

} // namespace led
