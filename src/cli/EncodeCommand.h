#pragma once

namespace led::cli {

extern const char* const EncodeUsage;
int runEncode(int argc, char** argv);

} // namespace led::cli
