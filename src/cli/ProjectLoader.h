#pragma once

#include "core/document/Project.h"

#include <filesystem>
#include <memory>
#include <ostream>

namespace led::cli {

// Opens the project of a .CFG path (its program folder is the parent of the .CFG's
// folder). Problems reading it go to err; nothing is returned only when the .CFG is missing.
std::unique_ptr<Project> loadProject(const std::filesystem::path& cfg, std::ostream& err,
                                     bool* complete = nullptr);

} // namespace led::cli
