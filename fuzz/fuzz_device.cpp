#include "core/document/DeviceTable.h"
#include "core/protocol/DeviceServer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    led::parseSearchAnswer(bytes);
    if (auto s = led::parseSerialSettingsAnswer(bytes))
        led::serialSettingsText(*s);
    led::parsePortAnswer(bytes);
    led::addressGroup(bytes);

    std::string message;
    const led::DeviceTable table = led::DeviceTable::parse(bytes, &message);
    // What was read survives a save and a second read.
    const led::Bytes image = table.serialize();
    if (led::DeviceTable::parse(image).serialize() != image)
        __builtin_trap();
    return 0;
}
