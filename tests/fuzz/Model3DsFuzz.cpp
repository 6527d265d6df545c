// Fuzz target for the 3DS model loader: any byte string goes through the in-memory chunk walk,
// and whatever loads must be drawable without reading past an array. No OpenGL is touched.
#include "assets/3DsModelSystem.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    c3DsModelSystem model;
    if (!model.LoadFromMemory(data, size)) {
        if (model.objectCount != 0 || !model.objects.empty()) std::abort();  // failures leave it empty
        return 0;
    }
    // What Draw relies on: every group index names a vertex, every array covers every vertex.
    for (const auto& o : model.objects) {
        const std::size_t n = std::size_t(o.vertexCount);
        if (o.vertices.size() != 3 * n || o.normals.size() != 3 * n || o.tangents.size() != 3 * n) std::abort();
        if (o.hasTexCoords && o.texCoords.size() < 2 * n) std::abort();
        for (const auto& g : o.groups) {
            if (g.indexCount != std::int32_t(g.indices.size())) std::abort();
            if (g.material < 0 || g.material > model.materialCount) std::abort();
            for (auto i : g.indices)
                if (i >= n) std::abort();
        }
    }
    const c3DsModelInfo info = model.Info();
    if (info.objects != model.objectCount) std::abort();
    return 0;
}
