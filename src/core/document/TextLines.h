#pragma once

#include <string_view>
#include <vector>

namespace led {

// The lines of a text file as the side files are read: CR, LF or CR LF ends a line, a
// last line without an ending counts, and a 0x00 byte ends the text.
std::vector<std::string_view> splitTextLines(std::string_view bytes);

} // namespace led
