#include "cli/TextListCommand.h"

#include "cli/Args.h"
#include "cli/ProjectLoader.h"
#include "core/document/Project.h"
#include "core/editor/TextList.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace led::cli {

const char* const ImportUsage = R"(用法: ledcaption-cli import PROJECT.CFG FILE.TXT

把文字檔 (Big5) 的內容依字幕寬度切成一幕一幕，放入第 1–254 幕的文字，並存回
專案的 .MSG。換行被略去，各行文字接在一起；跨在一幕結尾的中文字移到下一幕，
原幕補一個空白。第 1–254 幕的文字全部換成檔案的內容 (多出的幕清為空白)，
其他設定 (功能、速度、停留、分割碼、顯示) 不變；文字一律為黑底紅字。
)";

const char* const ExportUsage = R"(用法: ledcaption-cli export PROJECT.CFG FILE.TXT

把專案每一幕的文字 (含最後兩個不顯示的幕，共 256 行) 依序寫入文字檔，每行以
CR LF 結尾。只寫文字，不寫顏色與其他設定；已有的檔案會被取代。
)";

namespace {

struct Paths
{
    std::string cfg, list;
};

// PROJECT.CFG and FILE.TXT, or nothing with the exit status of a wrong call.
std::optional<Paths> twoPaths(int argc, char** argv, const char* usage, int& status)
{
    Args args(argc, argv, 2, {}, {"help"});
    if (args.flag("help")) {
        std::cout << usage;
        status = 0;
        return std::nullopt;
    }
    if (!args.ok() || args.positionals().size() != 2) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << usage;
        status = 2;
        return std::nullopt;
    }
    return Paths{args.positionals()[0], args.positionals()[1]};
}

} // namespace

int runImport(int argc, char** argv)
{
    int status = 0;
    const auto paths = twoPaths(argc, argv, ImportUsage, status);
    if (!paths)
        return status;
    const auto& [cfg, list] = *paths;

    bool complete = true;
    auto project = loadProject(cfg, std::cerr, &complete);
    if (!project)
        return 1;
    // Saving what was only partly read would lose the rest of the .MSG.
    if (!complete) {
        std::cerr << "專案讀取不完整，未讀入TXT檔案。\n";
        return 1;
    }
    if (project->isUnnamed()) {
        std::cerr << "未命名的專案不存檔，請先另存新檔。\n";
        return 1;
    }
    const TextListResult imported = loadTextList(project->document(), project->settings(), list);
    if (!imported) {
        std::cerr << imported.message << "\n";
        return 1;
    }
    if (!imported.message.empty())
        std::cerr << imported.message << "\n";
    if (const FileResult saved = project->SaveMsg(); !saved) {
        std::cerr << texts::SaveFailed << "\n" << saved.error << "\n";
        return 1;
    }
    std::cout << "已讀入 " << imported.pieces << " 段 (每幕 "
              << textListRowWidth(project->settings()) << " 位元組)，已存入 "
              << project->settings().msgPath.string() << "\n";
    return 0;
}

int runExport(int argc, char** argv)
{
    int status = 0;
    const auto paths = twoPaths(argc, argv, ExportUsage, status);
    if (!paths)
        return status;
    const auto& [cfg, list] = *paths;

    bool complete = true;
    auto project = loadProject(cfg, std::cerr, &complete);
    if (!project)
        return 1;
    if (const TextListResult saved = saveTextList(project->document(), list); !saved) {
        std::cerr << saved.message << "\n";
        return 1;
    }
    std::cout << "已寫入 " << list << " (256 行)\n";
    return complete ? 0 : 1;
}

} // namespace led::cli
