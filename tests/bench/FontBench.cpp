// Font creation cost: outline glyphs built cold (FreeType outlines flattened and tessellated) and
// from the shared glyph cache (only the display lists compiled), plus the bitmap glyphs.
#include "assets/FontSystem.h"

#include "support/GlTestContext.h"

#include <benchmark/benchmark.h>

namespace {

const char* const kSpartan = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Regular.otf";

void BM_OutlineFontCold(benchmark::State& state) {
    VantorGLTest::GlTestContext ctx;
    if (!ctx.Ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        VantorGL::cGlyphCache::Clear();
        VantorGL::cFontSystem font;
        font.CreateOutlineGlyphs(kSpartan, "Action Force Normal", -48);
        benchmark::DoNotOptimize(font.outlineBase);
        glFinish();
    }
}
BENCHMARK(BM_OutlineFontCold)->Unit(benchmark::kMillisecond);

void BM_OutlineFontCached(benchmark::State& state) {
    VantorGLTest::GlTestContext ctx;
    if (!ctx.Ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    VantorGL::cFontSystem warm;
    warm.CreateOutlineGlyphs(kSpartan, "Action Force Normal", -48);
    for (auto _ : state) {
        VantorGL::cFontSystem font;
        font.CreateOutlineGlyphs(kSpartan, "Action Force Normal", -48);
        benchmark::DoNotOptimize(font.outlineBase);
        glFinish();
    }
}
BENCHMARK(BM_OutlineFontCached)->Unit(benchmark::kMillisecond);

void BM_BitmapFont(benchmark::State& state) {
    VantorGLTest::GlTestContext ctx;
    if (!ctx.Ok()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        VantorGL::cFontSystem font;
        font.CreateBitmapGlyphs("", "Arial", -16);
        benchmark::DoNotOptimize(font.bitmapBase);
        glFinish();
    }
}
BENCHMARK(BM_BitmapFont)->Unit(benchmark::kMillisecond);

}  // namespace
