#include "cli/DecodeCommand.h"

#include "cli/Args.h"
#include "core/document/FileIO.h"
#include "core/protocol/Decoder.h"

#include <iostream>
#include <iterator>

namespace led::cli {

const char* const DecodeUsage = R"(用法: ledcaption-cli decode [FILE|-]

列出一段位元組 (原始資料或傳送資料檔) 裡的每一次傳送: 位址、台號、每個命令
與其內容、檢查碼是否正確，以及無法辨認的位元組。沒有 FILE 或為 - 時讀標準輸入。
有任何檢查碼錯誤或無法辨認的位元組時，結束碼為 1。
)";

int runDecode(int argc, char** argv)
{
    Args args(argc, argv, 2, {}, {"help"});
    if (args.flag("help")) {
        std::cout << DecodeUsage;
        return 0;
    }
    if (!args.ok() || args.positionals().size() > 1) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << DecodeUsage;
        return 2;
    }
    Bytes bytes;
    const std::string source = args.positionals().empty() ? "-" : args.positionals()[0];
    if (source == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::string error;
        auto read = readFileBytes(source, &error);
        if (!read) {
            std::cerr << "無法讀取檔案: " << error << "\n";
            return 1;
        }
        bytes = std::move(*read);
    }
    const auto transmissions = decodeTransmissions(bytes);
    std::cout << formatListing(transmissions);
    for (const auto& t : transmissions)
        if (!t.ok())
            return 1;
    return 0;
}

} // namespace led::cli
