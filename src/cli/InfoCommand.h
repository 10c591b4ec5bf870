#pragma once

#include <filesystem>
#include <ostream>

namespace led::cli {

// Prints the settings and every non-empty screen of a project. Returns the exit status.
int printProjectInfo(const std::filesystem::path& cfg, std::ostream& out, std::ostream& err);

} // namespace led::cli
