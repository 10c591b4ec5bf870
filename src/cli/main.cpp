// ledcaption-cli: the work of the editor without a window.

#include "cli/CommandCommand.h"
#include "cli/DecodeCommand.h"
#include "cli/DemoProject.h"
#include "cli/EncodeCommand.h"
#include "cli/InfoCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SendCommand.h"
#include "cli/SimulateCommand.h"
#include "cli/TextListCommand.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* const Usage = R"(用法: ledcaption-cli <命令> [參數]

命令:
  new DIR              在 DIR 建立示範程式資料夾 (DIR/DATA/demo.CFG, .MSG, .GRA)
  info PROJECT.CFG     顯示專案設定與每個有文字的畫面
  encode PROJECT.CFG --from A --to B [...]   編出上傳資料
  command NAME [...] --project PROJECT.CFG   編出控制命令
  decode [FILE|-]      列出一段傳送位元組的內容
  render PROJECT.CFG --screen N --out FILE.png [--scale K]   畫出一幕的預覽圖
  simulate PROJECT.CFG --from A --to B --out FILE.gif [...]   模擬播放並存成動畫
  import PROJECT.CFG FILE.TXT   讀入文字檔到畫面並存檔
  export PROJECT.CFG FILE.TXT   把畫面文字存成文字檔 (256 行)
  send PROJECT.CFG (--serial …|--tcp …|--modem …)   上傳畫面到字幕機
  send-command NAME [...] PROJECT.CFG (--serial …|--tcp …)   送出控制命令

每個命令都可加 --help 看說明。
)";

const char* const NewUsage = R"(用法: ledcaption-cli new DIR

在 DIR 建立示範程式資料夾: DIR/DATA/demo.CFG、demo.MSG、demo.GRA，
內含使用彩色、寬字與自繪圖形的幾個畫面，並把 demo 記為最後的專案
(DIR/DATA/BAKART.INI)。已有的同名檔案會被取代。
)";

const char* const InfoUsage = R"(用法: ledcaption-cli info PROJECT.CFG

顯示專案的設定 (通訊埠、鮑率、字幕機種類、寬度、傳送台數) 及每個有文字的
畫面: 幕號、顯示、速度、停留、前後功能、分割碼、文字 (UTF-8) 與屬性位元組。
)";

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << Usage;
        return 2;
    }
    const std::string command = argv[1];
    const bool help = wantsHelp(argc, argv);

    if (command == "new") {
        if (help) {
            std::cout << NewUsage;
            return 0;
        }
        if (argc != 3) {
            std::cerr << NewUsage;
            return 2;
        }
        if (auto error = led::cli::writeDemoProject(argv[2]); !error.empty()) {
            std::cerr << "無法建立示範專案: " << error << "\n";
            return 1;
        }
        std::cout << "已建立 " << argv[2] << "/DATA/demo.CFG\n";
        return 0;
    }
    if (command == "info") {
        if (help) {
            std::cout << InfoUsage;
            return 0;
        }
        if (argc != 3) {
            std::cerr << InfoUsage;
            return 2;
        }
        return led::cli::printProjectInfo(argv[2], std::cout, std::cerr);
    }
    if (command == "encode")
        return led::cli::runEncode(argc, argv);
    if (command == "render")
        return led::cli::runRender(argc, argv);
    if (command == "simulate")
        return led::cli::runSimulate(argc, argv);
    if (command == "import")
        return led::cli::runImport(argc, argv);
    if (command == "export")
        return led::cli::runExport(argc, argv);
    if (command == "send")
        return led::cli::runSend(argc, argv);
    if (command == "send-command")
        return led::cli::runSendCommand(argc, argv);
    if (command == "decode")
        return led::cli::runDecode(argc, argv);
    if (command == "command")
        return led::cli::runCommand(argc, argv);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << Usage;
        return 0;
    }
    std::cerr << "不明的命令: " << command << "\n\n" << Usage;
    return 2;
}
