#include "core/document/MsgFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    led::Document doc;
    led::readMsgImage(bytes, doc);
    // Whatever was read must survive a save and a second read unchanged.
    const led::Bytes image = led::writeMsgImage(doc);
    led::Document again;
    if (!led::readMsgImage(image, again) || !(again == doc))
        __builtin_trap();
    return 0;
}
