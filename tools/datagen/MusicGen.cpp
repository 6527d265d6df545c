// datagen: the two MP3 files of the data folder, synthesised and encoded here: the soundtrack
// "General/music.mp3" (2:47, following the scene timeline) and the looping "General/loading.mp3".
#include "Datagen.h"
#include "datagen/SynthMp3.h"
#include "datagen/SynthSoundtrack.h"
#include "shell/Console.h"

#include <cstdio>
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
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot write", path.c_str());
        return false;
    }
    bool ok = std::fwrite(mp3.data(), 1, mp3.size(), file) == mp3.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) VantorGL::ConsolePrint("DATAGEN", "%s: write failed", path.c_str());
    return ok;
}

}  // namespace

bool GenerateMusic(const std::string& root) {
    std::error_code error;
    std::filesystem::create_directories(root + "/General", error);
    return WriteMp3(root + "/General/music.mp3", Synth::RenderSoundtrack()) &&
           WriteMp3(root + "/General/loading.mp3", Synth::RenderLoadingTune());
}

}  // namespace Datagen
