#pragma once

#include "core/text/Big5.h"

#include <cstddef>
#include <string_view>

namespace led {

// Where two versions of a row text differ: the bytes the longer one has in addition and
// their 1-based position.
struct TCompStr
{
    Bytes chunk;
    std::size_t pos = 1;

    bool operator==(const TCompStr&) const = default;
};

// Walks the longer text element by element until it departs from the shorter one.
TCompStr CompStr(std::string_view shorter, std::string_view longer);

} // namespace led
