#include "cli/EncodeCommand.h"

#include "cli/Args.h"
#include "cli/Output.h"
#include "cli/ProjectLoader.h"
#include "cli/UploadRequest.h"
#include "core/document/FileIO.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/UploadEncoder.h"

#include <iostream>

namespace led::cli {

const char* const EncodeUsage =
    R"(用法: ledcaption-cli encode PROJECT.CFG --from A --to B [--display-flag]
                          [--append] [--glyphs] [--out FILE] [--data-file FILE]

把幕號 A 到 B 編成上傳資料 (位址、模式、文字區塊、結束碼)。
  --display-flag  只送有勾「顯示」的畫面 (選擇幕號傳送)，不看 A、B
  --append        附加模式 (預設為覆蓋模式)
  --glyphs        一併傳送自繪圖形
  --out FILE      把原始位元組寫入 FILE (預設以十六進位印在一行)
  --data-file FILE  寫成傳送資料檔 (傳輸率取自專案)
)";

int runEncode(int argc, char** argv)
{
    std::set<std::string> valued = UploadValueOptions, flags = UploadFlags;
    valued.insert({"out", "data-file"});
    flags.insert("help");
    Args args(argc, argv, 2, valued, flags);
    if (args.flag("help")) {
        std::cout << EncodeUsage;
        return 0;
    }
    if (!args.ok() || args.positionals().size() != 1) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << EncodeUsage;
        return 2;
    }
    std::string error;
    const auto request = readUploadRequest(args, error);
    if (!request) {
        std::cerr << error << "\n";
        return 2;
    }
    auto project = loadProject(args.positionals()[0], std::cerr);
    if (!project)
        return 1;

    const UploadStream stream =
        encodeScreens(project->document(), project->settings(), project->glyphs(),
                      request->from - 1, request->to - 1, request->options);
    for (const auto& line : stream.log)
        std::cerr << line << "\n";

    if (const auto dataFile = args.value("data-file")) {
        const int baud = baudRateForIndex(project->settings().baudIndex);
        if (auto r = writeFileAtomic(*dataFile, transmissionDataFile(baud, stream.bytes)); !r) {
            std::cerr << "無法寫入傳送資料檔: " << r.error << "\n";
            return 1;
        }
        if (!args.value("out"))
            return 0;
    }
    return emitTransmissions({stream.bytes}, args.value("out"), std::cout, std::cerr);
}

} // namespace led::cli
