#include "core/document/InsertFile.h"
#include "core/document/ScheduleFile.h"
#include "core/editor/TextList.h"
#include "core/protocol/Bright.h"
#include "core/protocol/Schedule.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    led::InsertBook book;
    led::readInsertImage(bytes, book);
    const led::Bytes image = led::writeInsertImage(book);
    led::InsertBook again;
    led::readInsertImage(image, again);
    if (!(again == book))
        __builtin_trap();

    led::WeeklySchedule schedule;
    led::readScheduleImage(bytes, schedule);
    led::TSystemparameter s;
    led::scheduleTransmission(s, schedule);
    led::CheckTime(bytes);

    led::Document doc;
    led::TSystemparameter wide;
    wide.signWidth = 40;
    led::importTextList(doc, wide, bytes);
    for (int n = 1; n <= led::ScreenCount; ++n)
        if (doc.content(n).text.size() != doc.content(n).attr.size() ||
            doc.content(n).text.size() > 80)
            __builtin_trap();
    led::exportTextList(doc);

    led::interpretBrightReply(bytes);
    led::Bytes buffer;
    led::receiveBrightBytes(buffer, bytes.substr(0, size / 2));
    led::receiveBrightBytes(buffer, bytes.substr(size / 2));
    return 0;
}
