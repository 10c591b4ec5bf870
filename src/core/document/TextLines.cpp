#include "core/document/TextLines.h"

namespace led {

std::vector<std::string_view> splitTextLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] != '\0') {
        const std::size_t start = pos;
        while (pos < bytes.size() && bytes[pos] != '\0' && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        lines.push_back(bytes.substr(start, pos - start));
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

} // namespace led
