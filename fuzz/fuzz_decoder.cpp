#include "core/protocol/Decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto transmissions = led::decodeTransmissions(bytes);
    // Every byte belongs to exactly one transmission, in order.
    std::size_t at = 0;
    for (const auto& t : transmissions) {
        if (t.offset != at)
            __builtin_trap();
        at += t.length;
    }
    if (at != size)
        __builtin_trap();
    led::formatListing(transmissions);
    led::dataFileBaud(bytes);
    return 0;
}
