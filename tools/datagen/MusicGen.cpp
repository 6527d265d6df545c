// datagen: the two MP3 files of the data folder, synthesised and encoded here: the soundtrack
// "General/music.mp3" (2:47, following the scene timeline) and the looping "General/loading.mp3".
#include "Datagen.h"
#include "Image.h"
#include "assets/DataManifest.h"
#include "datagen/SynthMp3.h"
#include "datagen/SynthSoundtrack.h"
#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

namespace {

bool WriteMp3(const std::string& path, const std::vector<std::int16_t>& pcm) {
    std::vector<unsigned char> mp3;
    std::string error;
    if (!Synth::EncodeMp3(pcm, 44100, mp3, error)) {
        VantorGL::ConsolePrint("DATAGEN", "%s: %s", path.c_str(), error.c_str());
        return false;
    }
    return WriteBytes(path, mp3);
}

}  // namespace

bool GenerateMusic(const std::string& root, const cFileChoice& choice) {
    std::error_code error;
    std::filesystem::create_directories(root + "/General", error);
    std::string soundtrack;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest())
        if (row.kind == VantorGL::cDataKind::Music) soundtrack = VantorGL::PathInDataFolder(row.path);
    const std::string loading = VantorGL::PathInDataFolder(VantorGL::kLoadingMusicPath);
    return (!choice.Wants(soundtrack) || WriteMp3(root + "/" + soundtrack, Synth::RenderSoundtrack())) &&
           (!choice.Wants(loading) || WriteMp3(root + "/" + loading, Synth::RenderLoadingTune()));
}

}  // namespace Datagen
