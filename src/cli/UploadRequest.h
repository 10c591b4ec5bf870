#pragma once

#include "cli/Args.h"
#include "core/protocol/UploadEncoder.h"

#include <optional>
#include <string>

namespace led::cli {

// The screens and options of an upload, as encode and send take them.
struct UploadRequest
{
    int from = 1; // screen numbers 1..254; ignored in display-flag mode
    int to = 1;
    UploadOptions options;
};

// The options that take a value and the switches of an upload.
inline const std::set<std::string> UploadValueOptions = {"from", "to"};
inline const std::set<std::string> UploadFlags = {"display-flag", "append", "glyphs"};

// --from/--to are required unless --display-flag is given; nothing with a message otherwise.
std::optional<UploadRequest> readUploadRequest(const Args& args, std::string& error);

} // namespace led::cli
