#pragma once

namespace led::cli {

extern const char* const DecodeUsage;
int runDecode(int argc, char** argv);

} // namespace led::cli
