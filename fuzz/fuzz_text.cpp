#include "core/document/GlyphTable.h"
#include "core/text/Big5.h"
#include "core/text/Cp950.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    led::textElements(bytes);
    led::cp950ToUtf8(bytes);
    led::textForDisplay(bytes);
    led::utf8ToCp950(bytes);
    led::GlyphTable table;
    table.load(bytes);
    return 0;
}
