// BenchReport: the bench's results as a table for a reader or as one JSON object.
#include "BenchReport.h"

#include <cstdio>

namespace {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

void PrintJsonSummary(const Summary& s) {
    if (s.frames == 0) {
        std::printf("{\"frames\": 0, \"min\": null, \"median\": null, \"p95\": null, \"updateMedian\": null, "
                    "\"total\": 0}");
        return;
    }
    std::printf("{\"frames\": %d, \"min\": %.3f, \"median\": %.3f, \"p95\": %.3f, \"updateMedian\": %.3f, "
                "\"total\": %.3f}",
                s.frames, s.min, s.median, s.p95, s.updateMedian, s.total);
}

// "passes": the sum of the pass medians and its share of the frame median, then each pass (name,
// frames that ran it, median, share), in the order they first ran. Shares are fractions.
void PrintJsonPasses(const PassSamples& passes, const Summary& draw) {
    if (draw.frames == 0 || passes.Count() == 0) {
        std::printf(", \"passes\": {\"sum\": null, \"share\": null, \"each\": []}");
        return;
    }
    auto share = [&](double ms) { return draw.median > 0.0 ? ms / draw.median : 0.0; };
    const double sum = PassMedianSum(passes);
    std::printf(", \"passes\": {\"sum\": %.3f, \"share\": %.4f, \"each\": [", sum, share(sum));
    for (int i = 0; i < passes.Count(); ++i) {
        const PassSamples::sPass& pass = passes.Pass(i);
        const double median = Median(pass.milliseconds);
        std::printf("%s{\"name\": %s, \"frames\": %zu, \"median\": %.3f, \"share\": %.4f}", i ? ", " : "",
                    JsonString(pass.name).c_str(), pass.milliseconds.size(), median, share(median));
    }
    std::printf("]}");
}

// Per scene, each pass's GPU median and its share of the scene's frame median, then their sum.
void PrintPassTable(const BenchResults& results) {
    std::printf("\npasses: GPU time by timer queries, median over the frames that ran each pass; share of the "
                "scene's frame median\n");
    std::printf("%-16s %-18s %6s %9s %8s\n", "scene", "pass", "frames", "median", "share");
    for (const SceneEntry& entry : *results.scenes) {
        const Summary draw = Summarise(entry.samples);
        const PassSamples& passes = entry.passes;
        if (draw.frames == 0 || passes.Count() == 0) continue;
        auto percent = [&](double ms) { return draw.median > 0.0 ? 100.0 * ms / draw.median : 0.0; };
        for (int i = 0; i < passes.Count(); ++i) {
            const PassSamples::sPass& pass = passes.Pass(i);
            const double median = Median(pass.milliseconds);
            std::printf("%-16s %-18s %6zu %9.2f %7.1f%%\n", i == 0 ? entry.row->member : "", pass.name,
                        pass.milliseconds.size(), median, percent(median));
        }
        const double sum = PassMedianSum(passes);
        std::printf("%-16s %-18s %6s %9.2f %7.1f%%  of the frame median %.2f ms\n", "", "sum of passes", "", sum,
                    percent(sum), draw.median);
    }
}

}  // namespace

void PrintBenchJson(const BenchResults& results) {
    const StartUpSplit& s = results.startUp;
    std::printf("{\n  \"size\": [%d, %d], \"fps\": %d,\n", results.width, results.height, kBenchFps);
    std::printf("  \"renderer\": %s, \"glVersion\": %s,\n", JsonString(results.renderer).c_str(),
                JsonString(results.glVersion).c_str());
    std::printf("  \"unit\": \"ms\",\n");
    std::printf(
        "  \"startUp\": {\"total\": %.1f, \"beforeMain\": %.1f, \"window\": %.1f, \"loadingScreen\": %.1f, "
        "\"music\": %.1f, \"textures\": %.1f, \"models\": %.1f, \"fonts\": %.1f, \"shaders\": %.1f, "
        "\"targets\": %.1f, \"sceneSetUp\": %.1f, \"other\": %.1f, \"mainThreadCpu\": %.1f, \"processCpu\": %.1f},\n",
        s.total, s.beforeMain, s.window, s.loadingScreen, s.music, s.textures, s.models, s.fonts, s.shaders,
        s.targets, s.sceneSetUp, s.other, s.mainThreadCpu, s.processCpu);
    const std::vector<double>& every = *results.everyUpdate;
    std::printf("  \"updateEveryFrame\": {\"frames\": %zu, \"median\": %.3f, \"p95\": %.3f},\n", every.size(),
                Median(every), Percentile95(every));
    std::printf("  \"scenes\": [\n");
    const std::vector<SceneEntry>& scenes = *results.scenes;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const Summary draw = Summarise(scenes[i].samples);
        std::printf("    {\"name\": %s, \"draw\": ", JsonString(scenes[i].row->member).c_str());
        PrintJsonSummary(draw);
        std::printf(", \"label\": %s", JsonString(scenes[i].row->label).c_str());
        if (results.passesTimed) PrintJsonPasses(scenes[i].passes, draw);
        std::printf("}%s\n", i + 1 < scenes.size() ? "," : "");
    }
    std::printf("  ],\n  \"all\": ");
    PrintJsonSummary(Summarise(*results.all));
    std::printf("\n}\n");
}

void PrintBenchTable(const BenchResults& results) {
    std::printf("quenlite-bench: %dx%d, fixed step %d fps, %d frames timed (draw + glFinish), %zu updated\n",
                results.width, results.height, kBenchFps, int(results.all->draw.size()), results.everyUpdate->size());
    std::printf("renderer: %s; OpenGL %s\n", results.renderer.c_str(), results.glVersion.c_str());
    const StartUpSplit& s = results.startUp;
    std::printf("start-up: %.0f ms from process start to the first frame\n", s.total);
    std::printf("  before main %.0f, window %.0f, loading screen %.0f, music %.0f, textures %.0f, models %.0f, "
                "fonts %.0f, shaders %.0f, targets %.0f, scene set-up %.0f, other %.0f (ms)\n",
                s.beforeMain, s.window, s.loadingScreen, s.music, s.textures, s.models, s.fonts, s.shaders, s.targets,
                s.sceneSetUp, s.other);
    // Wall time grows when other programs share the cores; CPU time does not.
    std::printf("  CPU to the first frame: main thread %.0f ms, whole process %.0f ms\n", s.mainThreadCpu,
                s.processCpu);
    const std::vector<double>& every = *results.everyUpdate;
    std::printf("update, every frame: median %.3f ms, 95th %.3f ms\n\n", Median(every), Percentile95(every));
    std::printf("%-16s %6s %9s %9s %9s %12s\n", "scene", "frames", "min ms", "median", "95th", "update med");
    auto row = [](const char* name, const Summary& s) {
        if (s.frames == 0) {
            std::printf("%-16s %6d %9s %9s %9s %12s\n", name, 0, "-", "-", "-", "-");
            return;
        }
        std::printf("%-16s %6d %9.2f %9.2f %9.2f %12.3f\n", name, s.frames, s.min, s.median, s.p95, s.updateMedian);
    };
    for (const SceneEntry& entry : *results.scenes) row(entry.row->member, Summarise(entry.samples));
    const Summary all = Summarise(*results.all);
    row("all", all);
    std::printf("draw time of the timed frames added up: %.1f ms\n", all.total);
    if (results.passesTimed) PrintPassTable(results);
}

