// DataManifest: every file the demo and its settings dialog load, spelled exactly as the loading
// code spells it. The data tools check a folder against it and the generator's tests prove the
// folder complete.
#pragma once

#include <cstddef>

namespace VantorGL {

enum class cDataKind { Picture, Model, Music, Font };

struct cDataFile {
    const char* path;  // as the loaders are given it ("data\Ter\floor_comp.jpg", "Data/ray.3DS")
    cDataKind kind;
    const char* user;  // who loads it: a registry member, "loading screen" or a scene
};

extern const cDataFile kDataManifest[];
extern const std::size_t kDataManifestSize;

}  // namespace VantorGL
