#include "cli/UploadRequest.h"

namespace led::cli {

std::optional<UploadRequest> readUploadRequest(const Args& args, std::string& error)
{
    UploadRequest r;
    r.options.append = args.flag("append");
    r.options.displayFlagMode = args.flag("display-flag");
    r.options.glyphs = args.flag("glyphs");
    if (!r.options.displayFlagMode || args.value("from") || args.value("to")) {
        const auto from = args.integer("from", 1, 254, error);
        const auto to = from ? args.integer("to", 1, 254, error) : std::nullopt;
        if (!from || !to)
            return std::nullopt;
        r.from = *from;
        r.to = *to;
    }
    return r;
}

} // namespace led::cli
