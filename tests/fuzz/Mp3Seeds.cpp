// Writes the hand-made seed corpus of the MP3 fuzz target into the folder given: short LAME files
// in the formats the decoder converts from (mono and stereo, MPEG-1, -2 and -2.5 rates).
#include "support/Mp3TestFile.h"

#include <cstdio>

using namespace VantorGLTest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    struct Seed {
        const char* name;
        int rate, channels;
    };
    // 0.1 s each: a few frames, enough for the LAME tag, the gapless trim and a resampler run.
    const Seed seeds[] = {{"stereo-44100.mp3", 44100, 2}, {"mono-44100.mp3", 44100, 1},
                          {"stereo-22050.mp3", 22050, 2}, {"mono-8000.mp3", 8000, 1},
                          {"stereo-48000.mp3", 48000, 2}};
    for (const Seed& s : seeds) {
        const auto pcm = MakeTones({{0.05, 440, 0.5}, {0.05, 1000, 0.9}}, s.rate, s.channels);
        if (!WriteMp3(folder + "/" + s.name, pcm, s.rate, s.channels)) {
            std::fprintf(stderr, "mp3_seeds: cannot write %s/%s\n", folder.c_str(), s.name);
            return 1;
        }
    }
    return 0;
}
