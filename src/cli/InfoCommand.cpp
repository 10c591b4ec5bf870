#include "cli/InfoCommand.h"

#include "cli/ProjectLoader.h"

#include "core/document/CodeTables.h"
#include "core/document/Project.h"
#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <cstdio>
#include <string>

namespace led::cli {
namespace {

std::string portText(int port)
{
    return port == PortTcpIp ? "TCP/IP" : "COM" + std::to_string(port);
}

std::string colourSetText(int set)
{
    switch (set) {
    case 1:
        return "單色";
    case 2:
        return "彩色";
    default:
        return "未設定";
    }
}

} // namespace

int printProjectInfo(const std::filesystem::path& cfg, std::ostream& out, std::ostream& err)
{
    bool complete = true;
    auto loaded = loadProject(cfg, err, &complete);
    if (!loaded)
        return 1;
    const Project& project = *loaded;
    const int status = complete ? 0 : 1;

    const auto& s = project.settings();
    out << "專案: " << s.projectName << " (" << s.cfgPath.string() << ")\n";
    out << "通訊埠: " << portText(s.port) << "  鮑率索引: " << s.baudIndex
        << "  字幕機: " << colourSetText(s.colorSet) << "(" << s.colorSet << ")"
        << "  字幕寬度: " << s.signWidth << "\n";
    out << project.unitPanel() << "\n";
    out << "字幕機電源: " << (s.opencloseled == 1 ? "開" : "關")
        << "  定時器: " << (s.Settime == 1 ? "開" : "關")
        << "  溫度感知器: " << (s.tempset ? "開" : "關") << "\n";

    const auto& doc = project.document();
    int shown = 0;
    for (int n = 1; n <= ScreenCount; ++n) {
        const auto& c = doc.content(n);
        if (c.text.empty())
            continue;
        const auto& r = doc.screen(n);
        out << "幕號 " << n << "  顯示: " << (r.display ? "是" : "否") << "  速度: " << r.speed
            << "  停留: " << r.stay << "  前功能: " << entryEffectName(r.front) << "(" << r.front
            << ")  後功能: " << exitEffectName(r.rear) << "(" << r.rear
            << ")  分割碼: " << cp950ToUtf8(SplitI2S(r.split));
        if (r.allWide)
            out << "  全寬字";
        out << "\n  文字: " << textForDisplay(c.text) << "\n  屬性: " << hexText(c.attr) << "\n";
        ++shown;
    }
    out << "共 " << shown << " 幕有文字\n";
    return status;
}

} // namespace led::cli
