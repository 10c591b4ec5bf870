#include "core/document/Document.h"
#include "core/document/GlyphTable.h"
#include "core/document/Settings.h"
#include "core/protocol/UploadEncoder.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int SignWidth = 40;

// Every screen full: double-byte and wide characters, single bytes and two glyph references.
led::Document fullDocument()
{
    led::Document doc;
    for (int n = 1; n <= led::ScreenCount; ++n) {
        led::TContect& c = doc.content(n);
        c.text += led::glyphReference(n % led::GlyphCount);
        c.attr += "\x01\x01";
        c.text += "\xA4\xA4\xA4\xA4";
        c.attr += "\x21\x21\xA1\xA1";
        c.text += led::glyphReference((n * 7) % led::GlyphCount);
        c.attr += "\x01\x01";
        while (c.text.size() + 2 <= 2 * SignWidth - 4) {
            c.text += "\xA4\xE5";
            c.attr += "\x05\x05";
        }
        c.text += "AB12";
        c.attr += "\x41\x44\x45\x41";
        doc.screen(n).speed = n % 15 + 1;
        doc.screen(n).front = 18;
    }
    return doc;
}

led::GlyphTable drawnGlyphs()
{
    led::GlyphTable t;
    for (int g = 0; g < led::GlyphCount; ++g)
        for (int i = 0; i < 16; ++i)
            t.setPixel(g, i, (i + g) % 16, true, i % 2 == 0);
    t.makeAllCodes(true);
    return t;
}

void BM_EncodeAllScreensWithGlyphs(benchmark::State& state)
{
    const led::Document doc = fullDocument();
    const led::GlyphTable glyphs = drawnGlyphs();
    led::TSystemparameter s;
    s.colorSet = 2;
    s.signWidth = SignWidth;
    led::UploadOptions options;
    options.glyphs = true;
    std::size_t size = 0;
    for (auto _ : state) {
        led::UploadStream out =
            led::encodeScreens(doc, s, glyphs, 0, led::ScreenCount - 1, options);
        size = out.bytes.size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_EncodeAllScreensWithGlyphs)->Unit(benchmark::kMicrosecond);

void BM_MakeAllCodes(benchmark::State& state)
{
    led::GlyphTable t = drawnGlyphs();
    for (auto _ : state) {
        t.makeAllCodes(false);
        benchmark::DoNotOptimize(t.bytes().data());
    }
}
BENCHMARK(BM_MakeAllCodes)->Unit(benchmark::kMicrosecond);

} // namespace
