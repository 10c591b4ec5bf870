#include "cli/ProjectLoader.h"

namespace led::cli {

std::unique_ptr<Project> loadProject(const std::filesystem::path& cfg, std::ostream& err,
                                     bool* complete)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cfg, ec)) {
        err << "找不到設定檔: " << cfg.string() << "\n";
        return nullptr;
    }
    const auto absolute = std::filesystem::absolute(cfg).lexically_normal();
    auto project = std::make_unique<Project>(absolute.parent_path().parent_path());
    project->setfilename(absolute);
    bool whole = true;
    if (auto r = project->readCFG(); !r) {
        err << r.error << "\n";
        whole = false;
    }
    if (auto r = project->readMsg(); !r) {
        err << r.error << "\n";
        whole = false;
    }
    if (auto r = project->readGra(); !r)
        err << r.error << "\n";
    if (complete)
        *complete = whole;
    return project;
}

} // namespace led::cli
