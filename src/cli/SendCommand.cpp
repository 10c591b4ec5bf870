#include "cli/SendCommand.h"

#include "cli/Args.h"
#include "cli/CommandBuilder.h"
#include "cli/ProjectLoader.h"
#include "cli/UploadRequest.h"
#include "core/document/DeviceTable.h"
#include "core/protocol/BaudRates.h"
#include "core/protocol/UploadEncoder.h"
#include "link/ComPortMap.h"
#include "link/ModemTransfer.h"
#include "link/NetLink.h"
#include "link/SerialLink.h"
#include "link/Waiting.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <iostream>

namespace led::cli {

const char* const SendUsage =
    R"(用法: ledcaption-cli send PROJECT.CFG (--serial DEV|COMn | --tcp HOST:PORT[,HOST:PORT…]
                          | --modem DEV --phone NUMBER) [--baud-index N]
                          [--from A --to B] [--display-flag] [--append] [--glyphs]
                          [--timeout MS]

把畫面上傳到字幕機: 經序列埠、經網路送到單點伺服器 (每一列依序連線)、或經數據機撥號。
  --serial DEV|COMn   序列埠裝置 (如 /dev/ttyUSB0) 或 COM1–COM15 (依 BAKART.INI [PORTS]、
                      LEDCAPTION_COM<n> 或系統找到的第 n 個序列埠)
  --tcp LIST          以逗號分隔的 HOST:PORT
  --modem DEV --phone NUMBER   經數據機撥號上傳
  --baud-index N      傳輸率索引 1–14 (預設取自專案)
  --timeout MS        網路連線逾時 (預設取自專案的網路設定)
溫度感知器開啟時，每次寫出前加 30 個 "0"。
)";

const char* const SendCommandUsage =
    R"(用法: ledcaption-cli send-command NAME [參數] PROJECT.CFG (--serial DEV|COMn | --tcp LIST)
                          [--baud-index N] [--timeout MS]

把一個控制命令送到字幕機 (命令與參數同 command)。
)" COMMAND_LIST_TEXT;

namespace {

constexpr int BrightReplyWaitMs = 2000;

struct Target
{
    std::optional<std::string> serial;
    std::vector<DeviceServerEntry> tcp;
    std::optional<std::string> modem;
};

std::optional<std::vector<DeviceServerEntry>> parseTcpList(const std::string& list)
{
    std::vector<DeviceServerEntry> rows;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        const std::size_t colon = item.rfind(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == item.size())
            return std::nullopt;
        DeviceServerEntry e;
        e.address = item.substr(0, colon);
        e.port = item.substr(colon + 1);
        e.send = true;
        rows.push_back(e);
        start = comma + 1;
    }
    return rows;
}

QString serialDevice(const std::string& given, const Project& project)
{
    if (given.size() > 3 && (given.rfind("COM", 0) == 0 || given.rfind("com", 0) == 0)) {
        const int n = std::atoi(given.c_str() + 3);
        if (n >= 1 && n <= ComPortMap::ComCount) {
            ComPortMap map = ComPortMap::fromSystem();
            map.loadIniFile(project.iniPath());
            return map.devicePath(n);
        }
    }
    return QString::fromStdString(given);
}

const char* outcomeText(NetOutcome o)
{
    switch (o) {
    case NetOutcome::Written:
        return "已送出";
    case NetOutcome::Connected:
        return "已連線";
    case NetOutcome::NoAddress:
        return "沒有位址";
    case NetOutcome::BadAddress:
        return "位址有誤";
    case NetOutcome::BadPort:
        return "埠號有誤";
    case NetOutcome::Refused:
        return "連線被拒";
    case NetOutcome::TimedOut:
        return "連線逾時";
    case NetOutcome::ConnectFailed:
        return "無法連線";
    case NetOutcome::FailedAfterConnect:
        return "連線後傳送失敗";
    case NetOutcome::Busy:
        return "忙碌中";
    }
    return "";
}

int reportRows(const std::vector<NetRowResult>& rows, const std::vector<DeviceServerEntry>& tcp)
{
    int failed = 0;
    for (const auto& r : rows) {
        const auto& e = tcp.at(static_cast<std::size_t>(r.row - 1));
        std::cout << "  " << e.address << ":" << e.port << "  " << outcomeText(r.outcome) << "  "
                  << r.elapsedMs << " ms";
        if (!r.reason.isEmpty())
            std::cout << "  (" << r.reason.toStdString() << ")";
        std::cout << "\n";
        failed += r.outcome != NetOutcome::Written;
    }
    return failed == 0 ? 0 : 1;
}

int reportSerial(const SerialResult& r, std::size_t bytes)
{
    if (!r.ok()) {
        std::cerr << texts::PortUnavailable << "\n" << r.reason.toStdString() << "\n";
        return 1;
    }
    std::cout << "已送出 " << bytes << " 位元組，傳送時間 " << r.transmitMs << " ms，實際 "
              << r.elapsedMs << " ms\n";
    return 0;
}

// Reads the link options shared by send and send-command.
std::optional<Target> readTarget(const Args& args, bool allowModem, std::string& error)
{
    Target t;
    int given = 0;
    if (auto s = args.value("serial")) {
        t.serial = *s;
        ++given;
    }
    if (auto list = args.value("tcp")) {
        auto rows = parseTcpList(*list);
        if (!rows) {
            error = "--tcp 應為 HOST:PORT[,HOST:PORT…]: " + *list;
            return std::nullopt;
        }
        t.tcp = *rows;
        ++given;
    }
    if (allowModem) {
        if (auto m = args.value("modem")) {
            t.modem = *m;
            ++given;
        }
    }
    if (given != 1) {
        error = allowModem ? "請指定 --serial、--tcp 或 --modem 其中之一"
                           : "請指定 --serial 或 --tcp 其中之一";
        return std::nullopt;
    }
    return t;
}

// --baud-index into the settings and the connect time-out (--timeout, or the project's);
// nothing with a message when an option is out of range.
std::optional<int> applyLinkOptions(const Args& args, Project& project, std::string& error)
{
    if (args.value("baud-index")) {
        const auto index = args.integer("baud-index", 1, BaudIndexCount, error);
        if (!index)
            return std::nullopt;
        project.settings().baudIndex = *index;
    }
    if (!args.value("timeout"))
        return connectTimeoutMs(project.settings());
    return args.integer("timeout", 1, 600000, error);
}

// The device behind --serial; an error on err when there is none.
std::optional<QString> serialDeviceOrReport(const std::string& given, const Project& project)
{
    const QString device = serialDevice(given, project);
    if (device.isEmpty()) {
        std::cerr << texts::PortUnavailable << "\n"
                  << given << ": " << texts::NoDeviceForPort << "\n";
        return std::nullopt;
    }
    return device;
}

} // namespace

int runSend(int argc, char** argv)
{
    std::set<std::string> valued = UploadValueOptions, flags = UploadFlags;
    valued.insert({"serial", "tcp", "modem", "phone", "baud-index", "timeout"});
    flags.insert("help");
    Args args(argc, argv, 2, valued, flags);
    if (args.flag("help")) {
        std::cout << SendUsage;
        return 0;
    }
    if (!args.ok() || args.positionals().size() != 1) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << SendUsage;
        return 2;
    }
    std::string error;
    const auto target = readTarget(args, true, error);
    if (!target) {
        std::cerr << error << "\n";
        return 2;
    }
    const auto request = readUploadRequest(args, error);
    if (!request) {
        std::cerr << error << "\n";
        return 2;
    }
    if (target->modem && !args.value("phone")) {
        std::cerr << "請輸入電話號碼！\n";
        return 2;
    }
    auto project = loadProject(args.positionals()[0], std::cerr);
    if (!project)
        return 1;
    auto& s = project->settings();
    const auto timeout = applyLinkOptions(args, *project, error);
    if (!timeout) {
        std::cerr << error << "\n";
        return 2;
    }
    const int timeoutMs = *timeout;

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QCoreApplication app(qtArgc, qtArgv);

    auto encode = [&] {
        return encodeScreens(project->document(), s, project->glyphs(), request->from - 1,
                             request->to - 1, request->options)
            .bytes;
    };

    if (!target->tcp.empty()) {
        const Bytes stream = encode();
        std::cout << "上傳 " << stream.size() << " 位元組到 " << target->tcp.size()
                  << " 台單點伺服器\n";
        NetLink net;
        QElapsedTimer clock;
        clock.start();
        const auto rows = net.uploadNet(stream, target->tcp, timeoutMs, s.tempset);
        const int status = reportRows(rows, target->tcp);
        std::cout << "共 " << clock.elapsed() << " ms\n";
        return status;
    }

    SerialLink serial;
    if (target->modem) {
        serial.setPortName(QString::fromStdString(*target->modem));
        ModemTransfer modem(serial);
        modem.setMessageHandler(
            [](const QString& text) { std::cout << text.toStdString() << "\n"; });
        const ModemOutcome outcome =
            modem.run(*args.value("phone"), s.baudIndex, s.tempset, encode);
        if (!outcome.port.ok()) {
            std::cerr << texts::PortUnavailable << "\n"
                      << outcome.port.reason.toStdString() << "\n";
            return 1;
        }
        if (outcome.upload)
            reportSerial(*outcome.upload, 0);
        return outcome.connected && outcome.upload && outcome.upload->ok() ? 0 : 1;
    }

    const auto found = serialDeviceOrReport(*target->serial, *project);
    if (!found)
        return 1;
    const QString device = *found;
    serial.setPortName(device);
    const Bytes stream = encode();
    std::cout << "上傳 " << stream.size() << " 位元組到 " << device.toStdString() << "，"
              << baudRateForIndex(s.baudIndex) << " bps\n";
    return reportSerial(serial.sendCom(stream, s.baudIndex, s.tempset), stream.size());
}

int runSendCommand(int argc, char** argv)
{
    Args args(argc, argv, 2, commandValueOptions({"serial", "tcp", "baud-index", "timeout"}),
              {"help"});
    if (args.flag("help")) {
        std::cout << SendCommandUsage;
        return 0;
    }
    // The project is the last word that names a .CFG.
    if (!args.ok() || args.positionals().size() < 2) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << SendCommandUsage;
        return 2;
    }
    std::string error;
    const auto target = readTarget(args, false, error);
    if (!target) {
        std::cerr << error << "\n";
        return 2;
    }
    auto project = loadProject(args.positionals().back(), std::cerr);
    if (!project)
        return 1;
    auto& s = project->settings();
    const auto timeout = applyLinkOptions(args, *project, error);
    if (!timeout) {
        std::cerr << error << "\n";
        return 2;
    }
    const int timeoutMs = *timeout;
    Args commandArgs = args;
    commandArgs.dropLastPositional();
    const auto built = buildCommand(commandArgs, *project, error);
    if (!built) {
        std::cerr << error << "\n";
        return 2;
    }

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    const bool news = commandArgs.positionals()[0] == "news";

    int status = 0;
    if (!target->tcp.empty()) {
        NetLink net;
        for (std::size_t i = 0; i < built->size(); ++i) {
            std::cout << "送出 " << (*built)[i].size() << " 位元組\n";
            status |= reportRows(net.sendNet((*built)[i], target->tcp, timeoutMs, s.tempset),
                                 target->tcp);
            if (news && i == 0)
                PauseMs(1000);
        }
        return status;
    }
    const auto found = serialDeviceOrReport(*target->serial, *project);
    if (!found)
        return 1;
    const QString device = *found;
    SerialLink serial;
    serial.setPortName(device);
    std::optional<BrightReading> reply;
    serial.setBrightHandler([&reply](const BrightReading& r) { reply = r; });
    for (std::size_t i = 0; i < built->size(); ++i) {
        const int r =
            reportSerial(serial.sendCom((*built)[i], s.baudIndex, s.tempset), (*built)[i].size());
        if (r != 0)
            return r;
        if (news && i == 0)
            PauseMs(1000);
    }
    if (commandArgs.positionals()[0] == "bright-query") {
        // The controller answers on the same line; give it a moment.
        for (int waited = 0; !reply && waited < BrightReplyWaitMs; waited += 50)
            PauseMs(50);
        if (!reply) {
            std::cerr << "沒有收到亮度控制器的回覆\n";
            return 1;
        }
        std::cout << "亮度: " << (reply->mode == BrightMode::Fixed ? "固定模式" : "自動模式")
                  << "，位置 " << reply->slider << "\n";
    }
    return 0;
}

} // namespace led::cli
