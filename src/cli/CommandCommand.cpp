#include "cli/CommandCommand.h"

#include "cli/Args.h"
#include "cli/CommandBuilder.h"
#include "cli/Output.h"
#include "cli/ProjectLoader.h"

#include <iostream>

namespace led::cli {

const char* const CommandUsage =
    R"(用法: ledcaption-cli command NAME [參數] --project PROJECT.CFG [--out FILE]

印出一個控制命令的傳送位元組 (十六進位；--out 則寫入原始位元組)。
位址 (字幕機種類與傳送台號) 取自專案；溫度感知器的前導碼由傳送端加上，不在此列。
)" COMMAND_LIST_TEXT;

int runCommand(int argc, char** argv)
{
    Args args(argc, argv, 2, commandValueOptions({"project", "out"}), {"help"});
    if (args.flag("help")) {
        std::cout << CommandUsage;
        return 0;
    }
    if (!args.ok() || args.positionals().empty()) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << CommandUsage;
        return 2;
    }
    const auto cfg = args.value("project");
    if (!cfg) {
        std::cerr << "缺少選項 --project\n" << CommandUsage;
        return 2;
    }
    auto project = loadProject(*cfg, std::cerr);
    if (!project)
        return 1;
    std::string error;
    const auto built = buildCommand(args, *project, error);
    if (!built) {
        std::cerr << error << "\n";
        return 2;
    }
    return emitTransmissions(*built, args.value("out"), std::cout, std::cerr);
}

} // namespace led::cli
