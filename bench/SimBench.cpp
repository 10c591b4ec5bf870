// Simulator figures at sign width 40 (W = 644): for every effect, the time to draw one step
// against the step's delay, and a 10-screen range's played duration on the virtual clock
// against the sum of its steps' delays.

#include "core/document/CodeTables.h"
#include "core/render/LineImage.h"
#include "core/sim/Dispatch.h"
#include "core/sim/Player.h"
#include "core/sim/RunPlan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace led;
using namespace led::sim;

namespace {

constexpr int SignWidth = 40;

TContect fullRow()
{
    TContect c;
    const Bytes chars = "\xA4\xA4\xA4\xE5\xA6\x72\xB9\xF5";
    while (c.text.size() + 2 <= 2 * SignWidth) {
        c.text += chars.substr(c.text.size() % 8, 2);
        c.attr += c.text.size() % 6 == 0 ? "\x05\x05" : "\x01\x01";
    }
    return c;
}

void effectFigures()
{
    const TContect row = fullRow();
    const GlyphTable glyphs = GlyphTable::blank();
    auto image =
        std::make_shared<const Picture>(Redraw(RowView{row.text, row.attr}, 2 * SignWidth, glyphs));
    std::mt19937 rng(1);
    std::printf("%-22s %4s %6s %10s %12s %12s\n", "effect", "dir", "steps", "delay ms",
                "mean draw us", "max draw us");
    double worst = 0;
    for (int direction = 1; direction <= 2; ++direction) {
        for (int code = 0; code <= 33; ++code) {
            EffectContext c;
            c.screen = 2;
            c.text = row.text;
            c.attr = row.attr;
            c.direction = direction;
            c.rowImage = image;
            c.splitStartImage = image;
            c.random = [&rng](int bound) { return static_cast<int>(rng() % bound); };
            c.time = {2026, 12, 9, 9, 5, 7, 3};
            const EffectRun run = direction == 1 ? RunEntryEffect(c, code) : RunExitEffect(c, code);
            if (run.steps.empty() || code == 31)
                continue;
            Surfaces s = Surfaces::forSignWidth(SignWidth);
            double total = 0, longest = 0;
            long long delay = 0;
            for (const Step& step : run.steps) {
                const auto t0 = std::chrono::steady_clock::now();
                if (step.draw)
                    step.draw(s);
                const double us =
                    std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0)
                        .count();
                total += us;
                longest = std::max(longest, us);
                delay += step.delayMs;
            }
            worst = std::max(worst, longest);
            const std::string name = direction == 1 ? entryEffectName(code) : exitEffectName(code);
            std::printf("%-3d %-18s %4s %6zu %10.1f %12.1f %12.1f\n", code, name.c_str(),
                        direction == 1 ? "in" : "out", run.steps.size(),
                        static_cast<double>(delay) / static_cast<double>(run.steps.size()),
                        total / static_cast<double>(run.steps.size()), longest);
        }
    }
    std::printf("longest single step: %.1f us (bar 2000 us)\n", worst);
}

void rangeFigure()
{
    Document doc;
    const TContect row = fullRow();
    const int entries[] = {0, 2, 3, 5, 15, 17, 18, 20, 21, 29};
    const int exits[] = {0, 2, 4, 6, 16, 17, 18, 21, 22, 255};
    for (int n = 1; n <= 10; ++n) {
        doc.content(n) = row;
        doc.screen(n).front = entries[n - 1];
        doc.screen(n).rear = exits[n - 1];
        doc.screen(n).stay = n % 3;
        doc.screen(n).split = n == 4 ? 3 : n == 7 ? 255 : 0;
    }
    std::mt19937 rng(2);
    RunSettings settings;
    settings.from = 1;
    settings.to = 10;
    settings.maxLength = 2 * SignWidth;
    settings.start = {2026, 12, 9, 9, 5, 7, 3};
    RunPlan plan(doc, GlyphTable::blank(), settings,
                 [&rng](int bound) { return static_cast<int>(rng() % bound); });
    const Pass pass = plan.nextPass();
    long long sum = 0;
    for (const auto& segment : pass.segments)
        for (const auto& step : segment.steps)
            sum += step.delayMs;
    Surfaces s = Surfaces::forSignWidth(SignWidth);
    Player player(s);
    const auto t0 = std::chrono::steady_clock::now();
    player.play(pass);
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("10-screen range: played %lld ms on the virtual clock, sum of delays %lld ms "
                "(bar: equal), drawn in %.1f ms of real time\n",
                player.nowUs() / 1000, sum, wall);
}

} // namespace

int main()
{
    effectFigures();
    rangeFigure();
    return 0;
}
