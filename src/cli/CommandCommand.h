#pragma once

namespace led::cli {

extern const char* const CommandUsage;
int runCommand(int argc, char** argv);

} // namespace led::cli
