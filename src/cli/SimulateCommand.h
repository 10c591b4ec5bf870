#pragma once

namespace led::cli {

extern const char* const SimulateUsage;
int runSimulate(int argc, char** argv);

} // namespace led::cli
