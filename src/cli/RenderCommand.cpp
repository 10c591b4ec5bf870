#include "cli/RenderCommand.h"

#include "cli/Args.h"
#include "cli/ProjectLoader.h"
#include "core/render/LineImage.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <iostream>

namespace led::cli {

const char* const RenderUsage =
    R"(用法: ledcaption-cli render PROJECT.CFG --screen N --out FILE.png [--scale K]

把幕號 N (1–254) 的畫面畫成編輯列的預覽圖 (寬 8 × 2 × 字幕寬度 + 4 點，高 18 點)，
存成 PNG。
  --scale K  每一點放大成 K × K 點 (1–16，預設 1)
)";

namespace {

QImage toQImage(const Picture& picture, int scale)
{
    QImage image(picture.width() * scale, picture.height() * scale, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = picture.pixel(x / scale, y / scale);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return image;
}

} // namespace

int runRender(int argc, char** argv)
{
    Args args(argc, argv, 2, {"screen", "out", "scale"}, {"help"});
    if (args.flag("help")) {
        std::cout << RenderUsage;
        return 0;
    }
    if (!args.ok() || args.positionals().size() != 1 || !args.value("out")) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << RenderUsage;
        return 2;
    }
    std::string error;
    const auto screen = args.integer("screen", 1, ScreenCount, error);
    std::optional<int> scale = 1;
    if (screen && args.value("scale"))
        scale = args.integer("scale", 1, 16, error);
    if (!screen || !scale) {
        std::cerr << error << "\n";
        return 2;
    }
    auto project = loadProject(args.positionals()[0], std::cerr);
    if (!project)
        return 1;

    const TContect& content = project->document().content(*screen);
    const int maxLength = 2 * std::max(project->settings().signWidth, 1);
    const Picture picture =
        Redraw(RowView{content.text, content.attr}, maxLength, project->glyphs());
    const std::string out = *args.value("out");
    if (!toQImage(picture, *scale).save(QString::fromStdString(out), "PNG")) {
        std::cerr << "無法寫入圖檔: " << out << "\n";
        return 1;
    }
    return 0;
}

} // namespace led::cli
