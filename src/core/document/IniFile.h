#pragma once

#include "core/text/Big5.h"

#include <optional>
#include <string_view>
#include <vector>

namespace led {

// An INI file kept as its lines, so that a rewrite changes only the values written:
// unknown sections, keys, comments and line ends stay as they were. Names compare
// without regard to ASCII case; values are bytes (Big5).
class IniFile
{
public:
    IniFile() = default;
    static IniFile parse(std::string_view bytes);
    Bytes serialize() const;

    bool hasSection(std::string_view section) const;
    std::optional<Bytes> value(std::string_view section, std::string_view key) const;

    Bytes readString(std::string_view section, std::string_view key, std::string_view def) const;
    // Leading blanks, an optional sign and the leading digits; no digits gives def.
    int readInteger(std::string_view section, std::string_view key, int def) const;
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the first entry of the key in place, or appends it after the section's
    // last entry (the section is appended when missing).
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    static int parseInteger(std::string_view text, int def);

private:
    struct Line
    {
        Bytes raw;        // the line as read, without its end
        Bytes eol;        // "\r\n", "\n", "\r" or "" for a last line without one
        Bytes key, value; // trimmed, for entries
        bool entry = false;
    };
    struct Section
    {
        Bytes name;
        Line header;
        std::vector<Line> lines;
    };

    const Line* find(std::string_view section, std::string_view key) const;
    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    Bytes newLineEnd() const;

    std::vector<Line> m_preamble;
    std::vector<Section> m_sections;
    Bytes m_eol = "\r\n";
};

} // namespace led
