#include "core/document/Document.h"

namespace led {

void Document::resetDocument()
{
    m_records.fill(TScreenRec{});
    for (int k = 0; k < RecordCount; ++k)
        m_texts[k] = TContect{};
}

} // namespace led
