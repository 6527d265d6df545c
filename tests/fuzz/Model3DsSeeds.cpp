// Writes the seed corpus for model3ds_fuzz into the folder given as the only argument: small
// valid models that reach every chunk the loader reads.
#include "support/Write3Ds.h"

#include <cstdio>

using namespace VantorGLTest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Material3Ds red{"Red", {1, 0, 0}, true}, blue{"Blue", {0, 0, 1}, false};
    Mesh3Ds tri = SingleGroupMesh("Tri", {0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 1, 2}, "Red", {0, 0, 1, 0, 0, 1});
    Mesh3Ds grid = GridMesh("Grid", 3, "Blue");
    grid.groups.push_back({"Red", {0, 1, 2}});
    Mesh3Ds bare = GridMesh("Bare", 2, "Nothing");
    bare.uv.clear();
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds = {
        {"triangle.3ds", Write3Ds({red}, {tri})},
        {"two-objects.3ds", Write3Ds({red, blue}, {tri, grid})},
        {"objects-first.3ds", Write3Ds({blue, red}, {grid, bare}, true)},
        {"no-materials.3ds", Write3Ds({}, {bare})},
    };
    for (const auto& [name, bytes] : seeds) {
        if (!WriteFile(folder + "/" + name, bytes)) {
            std::fprintf(stderr, "model3ds_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
