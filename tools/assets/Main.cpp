// quenlite-assets: looks at data files the way the engine will.
//   quenlite-assets info FILE      what the engine makes of one picture, model, MP3 or font
//   quenlite-assets check [DIR]    every file the demo loads, under DIR (default "data")
//   quenlite-assets sizes [DIR]    each model's vertices, faces and bytes, and the folder's total
//   quenlite-assets beats FILE     the beats each scene would take from an MP3's spectrum
#include "AssetCheck.h"
#include "Beats.h"

#include "assets/Mp3Decoder.h"
#include "shell/BuildInfo.h"
#include "shell/ProgramFolders.h"

#include <cstdio>
#include <cstring>
#include <string>

static const char* const kUsage =
    "usage: quenlite-assets info FILE\n"
    "       quenlite-assets check [DIR]\n"
    "       quenlite-assets sizes [DIR]\n"
    "       quenlite-assets beats FILE\n"
    "  info   prints what the engine makes of one file: for a model its objects, vertices, faces,\n"
    "         groups, bounds and texture coordinates; for a picture its route, decoded and\n"
    "         texture sizes and alpha; for an MP3 its duration, rate and channels\n"
    "  check  checks the data folder DIR against every path the demo loads (default: the\n"
    "         \"data\" folder the demo would play: in the working directory, beside the program\n"
    "         or in the installed copy);\n"
    "         prints one line per problem; exit code 0 only when all is well\n"
    "  sizes  prints each model of DIR (default as for check) as the engine loads it: vertices,\n"
    "         faces and file bytes; then the models' sum and the whole folder's bytes\n"
    "  beats  replays the spectrum of an MP3 at 60 frames per second and prints, per scene\n"
    "         window, the beats each scene's own rule would take; exit code 1 when a scene\n"
    "         that counts beats would not get what it needs\n";

static int PrintBeatsOfFile(const char* path) {
    VantorGL::cPcmBuffer pcm;
    std::string error;
    if (!VantorGL::DecodeMp3File(path, pcm, error, 44100, 2)) {
        std::fprintf(stderr, "assets: %s: %s\n", path, error.c_str());
        return 1;
    }
    return QuenliteAssets::PrintBeats(pcm.samples.data(), pcm.Frames(), pcm.channels, pcm.rate, stdout);
}

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "info" && argc == 3) return QuenliteAssets::DescribeFile(argv[2], stdout);
    if ((command == "check" || command == "sizes") && argc <= 3) {
        std::string folder = "data";
        if (argc == 3) {
            folder = argv[2];
        } else {
            const std::string home = VantorGL::FindDataFolder(VantorGL::DataFolderPlaces());
            if (!home.empty() && !VantorGL::HoldsDataFolder(".")) folder = home + "/data";
        }
        const int problems = command == "check" ? QuenliteAssets::CheckDataFolder(folder.c_str(), stdout)
                                                : QuenliteAssets::PrintModelSizes(folder, stdout);
        return problems == 0 ? 0 : 1;
    }
    if (command == "beats" && argc == 3) return PrintBeatsOfFile(argv[2]);
    if (command == "--help" || command == "-h") {
        std::printf("quenlite-assets %s, Moravel - Quenlite 2010\n", VantorGL::kQuenliteVersion);
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
