#pragma once

#include <filesystem>
#include <string>

namespace led::cli {

// Writes a program folder with DATA/demo.CFG, .MSG and .GRA and makes demo the last
// project. Returns an empty string or the reason it failed.
std::string writeDemoProject(const std::filesystem::path& home);

} // namespace led::cli
