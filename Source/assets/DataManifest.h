// DataManifest: every file the demo loads, spelled exactly as the loading code spells it. The
// registry's rows, in its load order, name the member each file fills: LoadAll walks them, the
// data tools check a folder against them and the generator's tests prove the folder complete.
#pragma once

#include "assets/Resources.h"

#include <span>
#include <string>
#include <variant>

namespace VantorGL {

enum class cDataKind { Picture, Model, Music, Font };

// The registry member a file fills, typed by what loads it; empty for a file loaded elsewhere.
using cResourceMember = std::variant<std::monostate, cMusicSystem cResources::*, cFontSystem cResources::*,
                                     cTextureSystem cResources::*, c3DsModelSystem cResources::*>;

struct cDataFile {
    const char* path;  // as the loaders are given it ("data\Ter\floor_comp.jpg", "Data/ray.3DS")
    cDataKind kind;
    const char* user;  // the member's name, or who loads it outside the registry
    cResourceMember member;
};

// The files loaded outside the registry, named for the code that loads them.
inline constexpr const char* kBannerPicturePath = "data/General/banner.png";  // settings dialog, 280 x 45
inline constexpr const char* kLoadingPicturePath = "data/General/loading.jpg";
inline constexpr const char* kLoadingMusicPath = "data/General/loading.mp3";
inline constexpr const char* kWorkshopNewsPaperPath = "data\\newsPaper.jpg";
inline constexpr const char* kWorkshopNormalPath = "data\\pillarroom_norm.jpg";  // also the registry's
inline constexpr const char* kWorkshopSpecularPath = "data\\specular.jpg";

// The registry's files in LoadAll's order: the music, the pictures, the font and the models.
std::span<const cDataFile> AssetManifest();

// The files the demo loads outside the registry (loading screen, settings dialog, workshop).
std::span<const cDataFile> FilesOutsideRegistry();

// A manifest path below the data folder, '/' separated: "data\Ter\floor_comp.jpg" gives
// "Ter/floor_comp.jpg" (the leading "data" or "Data" stands for the folder).
std::string PathInDataFolder(const char* path);

// The member of `registry` that `row` fills, when it is one of type T; null otherwise.
template <typename T>
T* RegistryMember(cResources& registry, const cDataFile& row) {
    auto* member = std::get_if<T cResources::*>(&row.member);
    return member ? &(registry.**member) : nullptr;
}

}  // namespace VantorGL
