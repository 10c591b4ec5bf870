#pragma once

namespace led::cli {

extern const char* const RenderUsage;
int runRender(int argc, char** argv);

} // namespace led::cli
