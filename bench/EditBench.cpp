// Typing one character into a row of a sign 40 characters wide and redrawing that row.

#include "core/document/GlyphTable.h"
#include "core/editor/EditorState.h"
#include "core/editor/ScreenGrid.h"
#include "core/render/LineImage.h"

#include <benchmark/benchmark.h>

namespace {

void TypeAndRedraw(benchmark::State& state)
{
    using namespace led;
    Document doc;
    TSystemparameter settings;
    settings.colorSet = 2;
    settings.signWidth = 40;
    EditorState editor{};
    editor.document = &doc;
    ScreenGrid grid(doc, settings, editor);
    grid.FormShow();
    grid.focusText(1);
    const GlyphTable glyphs = GlyphTable::blank();
    const int maxLength = 2 * settings.signWidth;
    Picture image(rowImageWidth(maxLength), RowImageHeight);
    const bool wide = state.range(0) != 0;
    editor.wideBox = wide;

    for (auto _ : state) {
        auto& row = grid.row(1);
        if (row.text().size() + 4 > static_cast<std::size_t>(maxLength)) {
            state.PauseTiming();
            row.setContent({}, {}, 0);
            state.ResumeTiming();
        }
        grid.typeText("中");
        Redraw(image, {row.text(), row.attributes(), row.selStart(), row.selLength(), true},
               maxLength, glyphs);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(TypeAndRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
