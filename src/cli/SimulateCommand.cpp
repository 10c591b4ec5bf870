#include "cli/SimulateCommand.h"

#include "cli/Args.h"
#include "cli/GifWriter.h"
#include "cli/Output.h"
#include "cli/ProjectLoader.h"
#include "core/document/CodeTables.h"
#include "core/sim/Player.h"
#include "core/sim/RunPlan.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>

namespace led::cli {

const char* const SimulateUsage =
    R"(用法: ledcaption-cli simulate PROJECT.CFG [--from A] [--to B] [--out FILE.gif]
                              [--scale K] [--passes N] [--at YYYY-MM-DDTHH:MM:SS]
                              [--seed S] [--frames DIR] [--timeline]

模擬字幕機播放幕號 A 至 B (1–254，預設 1 至 1)，包括進場、停留、退場與分割。
  --out FILE.gif  存成動畫 GIF，每格的時間即各步驟的等待時間
  --scale K       每一點放大成 K × K 點 (1–16，預設 1)
  --passes N      播放次數 (1–1000，預設 1)；「停止」退場會提前結束
  --at TIME       時間、日期顯示所用的起始時刻 (預設為現在)
  --seed S        「隨機變幻」所用的亂數種子
  --frames DIR    每一步驟另存一張 PNG
  --timeline      列出每一步驟的起始時間、等待時間、幕號與效果
)";

namespace {

std::string segmentName(const sim::TimelineEntry& e)
{
    switch (e.kind) {
    case sim::SegmentKind::Clear:
        return "清除畫面";
    case sim::SegmentKind::EmptyWait:
        return "空白等待";
    case sim::SegmentKind::Entry:
        return "進場 " + entryEffectName(e.code);
    case sim::SegmentKind::Stay:
        return "停留";
    case sim::SegmentKind::Exit:
        return "退場 " + exitEffectName(e.code);
    case sim::SegmentKind::Stop:
        return "模擬結束";
    }
    return {};
}

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

struct Options
{
    int from = 1, to = 1, scale = 1, passes = 1;
    std::optional<int> seed;
    sim::LocalTime start;
};

std::optional<Options> readOptions(const Args& args, std::string& error)
{
    Options o;
    const auto number = [&](const char* name, int lo, int hi, int& into) {
        if (!args.value(name))
            return true;
        const auto v = args.integer(name, lo, hi, error);
        if (v)
            into = *v;
        return v.has_value();
    };
    if (!number("from", 1, ScreenCount, o.from) || !number("to", 1, ScreenCount, o.to) ||
        !number("scale", 1, 16, o.scale) || !number("passes", 1, 1000, o.passes))
        return std::nullopt;
    if (args.value("seed")) {
        int seed = 0;
        if (!number("seed", 0, std::numeric_limits<int>::max(), seed))
            return std::nullopt;
        o.seed = seed;
    }
    CivilTime t = localNow();
    if (const auto at = args.value("at")) {
        const auto parsed = parseCivilTime(*at);
        if (!parsed) {
            error = "時間格式錯誤: " + *at;
            return std::nullopt;
        }
        t = *parsed;
    }
    o.start = {t.year, t.month, t.day, t.hour, t.minute, t.second, t.weekday};
    return o;
}

} // namespace

int runSimulate(int argc, char** argv)
{
    Args args(argc, argv, 2, {"from", "to", "out", "scale", "passes", "at", "seed", "frames"},
              {"timeline", "help"});
    if (args.flag("help")) {
        std::cout << SimulateUsage;
        return 0;
    }
    const bool wantsOutput = args.value("out") || args.value("frames") || args.flag("timeline");
    if (!args.ok() || args.positionals().size() != 1 || !wantsOutput) {
        std::cerr << (args.ok() ? "" : args.error() + "\n") << SimulateUsage;
        return 2;
    }
    std::string error;
    const auto options = readOptions(args, error);
    if (!options) {
        std::cerr << error << "\n";
        return 2;
    }
    auto project = loadProject(args.positionals()[0], std::cerr);
    if (!project)
        return 1;

    const int signWidth = std::max(project->settings().signWidth, 1);
    sim::Surfaces surfaces = sim::Surfaces::forSignWidth(signWidth);
    std::mt19937 engine(options->seed ? static_cast<unsigned>(*options->seed)
                                      : std::random_device{}());
    const sim::RandomSource random = [&engine](int bound) {
        return std::uniform_int_distribution<int>(0, std::max(bound, 1) - 1)(engine);
    };
    sim::RunSettings settings;
    settings.from = options->from;
    settings.to = options->to;
    settings.maxLength = 2 * signWidth;
    settings.colorSet = project->settings().colorSet;
    settings.start = options->start;
    sim::RunPlan plan(project->document(), project->glyphs(), settings, random);

    std::unique_ptr<GifWriter> gif;
    if (const auto out = args.value("out")) {
        gif = std::make_unique<GifWriter>(*out, surfaces.display.width(), surfaces.display.height(),
                                          options->scale);
        if (!gif->ok()) {
            std::cerr << "無法寫入圖檔: " << *out << "\n";
            return 1;
        }
    }
    std::optional<std::filesystem::path> frames;
    if (const auto dir = args.value("frames")) {
        frames = *dir;
        std::error_code ec;
        std::filesystem::create_directories(*frames, ec);
    }
    const bool timeline = args.flag("timeline");

    long long frameNumber = 0;
    bool framesFailed = false;
    sim::Player player(surfaces, [&](const Picture& display, const sim::TimelineEntry& e) {
        if (gif)
            gif->add(display, e.delayMs);
        if (frames && !framesFailed) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06lld.png", ++frameNumber);
            const auto path = *frames / name;
            if (!toQImage(display, options->scale)
                     .save(QString::fromStdString(path.string()), "PNG")) {
                std::cerr << "無法寫入圖檔: " << path.string() << "\n";
                framesFailed = true;
            }
        }
        if (timeline) {
            char line[64];
            std::snprintf(line, sizeof line, "%10.3f s  %6d ms  幕 %3d  ", e.startUs / 1e6,
                          e.delayMs, e.screen);
            std::cout << line << segmentName(e) << "\n";
        }
    });
    player.setKeepTimeline(false);
    for (int pass = 0; pass < options->passes && !plan.stopped(); ++pass)
        player.play(plan.nextPass());

    if (gif && !gif->finish()) {
        std::cerr << "無法寫入圖檔: " << *args.value("out") << " (" << gif->error() << ")\n";
        return 1;
    }
    return framesFailed ? 1 : 0;
}

} // namespace led::cli
