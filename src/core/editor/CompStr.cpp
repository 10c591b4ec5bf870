#include "core/editor/CompStr.h"

namespace led {

TCompStr CompStr(std::string_view shorter, std::string_view longer)
{
    if (shorter.empty())
        return {Bytes(longer), 1};
    if (shorter.size() >= longer.size())
        return {Bytes(), 1};
    const std::size_t extra = longer.size() - shorter.size();
    std::size_t k = 0; // 0-based here, 1-based in the result
    while (k < longer.size()) {
        if (isElementLead(static_cast<std::uint8_t>(longer[k]))) {
            const bool same = k + 1 < shorter.size() && k + 1 < longer.size() &&
                              longer.substr(k, 2) == shorter.substr(k, 2);
            if (!same)
                return {Bytes(longer.substr(k, extra)), k + 1};
            k += 2;
            continue;
        }
        if (k < shorter.size() && longer[k] == shorter[k]) {
            ++k;
            continue;
        }
        // An empty tail is never found, as with the platform's substring search.
        const std::string_view tail = k < shorter.size() ? shorter.substr(k) : std::string_view();
        const std::size_t at = tail.empty() ? std::string_view::npos : longer.substr(k).find(tail);
        if (at != std::string_view::npos)
            return {Bytes(longer.substr(k, at)), k + 1};
        return {Bytes(longer.substr(k)), k + 1};
    }
    return {Bytes(), k + 1};
}

} // namespace led
