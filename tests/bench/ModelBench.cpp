// Model loading benchmark: parsing, normals and tangents of a large synthetic 3DS model held
// in memory (about 60000 vertices and 119000 faces over four objects), so disk speed plays no part.
#include "assets/3DsModelSystem.h"

#include "support/Write3Ds.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<std::uint8_t> LargeModel() {
    // Four 122 x 122 grids: 15129 vertices and 29768 faces each, under the 16-bit limits.
    std::vector<VantorGLTest::Mesh3Ds> meshes;
    for (int i = 0; i < 4; ++i) meshes.push_back(VantorGLTest::GridMesh("Grid" + std::to_string(i), 122, "Stone"));
    return VantorGLTest::Write3Ds({{"Stone", {0.5f, 0.5f, 0.5f}, true}}, meshes);
}

void BM_Load3DsFromMemory(benchmark::State& state) {
    const auto bytes = LargeModel();
    int vertices = 0;
    for (auto _ : state) {
        c3DsModelSystem model;
        model.LoadFromMemory(bytes.data(), bytes.size());
        vertices = model.Info().vertices;
        benchmark::DoNotOptimize(vertices);
    }
    state.counters["vertices"] = vertices;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_Load3DsFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace
