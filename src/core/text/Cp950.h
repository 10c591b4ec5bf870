#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace led {

// Big5 (code page 950) to UTF-8 for display. Bytes that name no character become U+FFFD;
// glyph references (0xFA and a code byte) become U+FFFD too unless the caller handles them.
std::string cp950ToUtf8(std::string_view big5);

// UTF-8 to Big5 for files and the wire; nothing when a character has no Big5 code.
std::optional<std::string> utf8ToCp950(std::string_view utf8);

// For literals known to be in Big5: the conversion or, failing that, the input.
std::string big5(std::string_view utf8);

} // namespace led

namespace led {

// A screen text for reports: glyph references shown as {圖n}, the rest as cp950ToUtf8.
std::string textForDisplay(std::string_view big5);

} // namespace led
