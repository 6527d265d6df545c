// The generated data folder, checked the way the demo will use it: every file the demo loads is
// there and usable through the engine's own loaders, and the soundtrack has the demo's length.
#include "assets/AssetCheck.h"

#include "assets/Mp3Decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
const std::string kData = std::string(QUENLITE_SOURCE_DIR) + "/data";
}

TEST(DataFolder, EveryFileTheDemoLoadsIsPresentAndUsable) {
    char* report = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&report, &size);
    int problems = QuenliteAssets::CheckDataFolder(kData, out);
    std::fclose(out);
    EXPECT_EQ(problems, 0) << report;
    std::free(report);
}

TEST(DataFolder, SoundtrackLastsTheWholeDemo) {
    VantorGL::cPcmBuffer pcm;
    std::string error;
    ASSERT_TRUE(VantorGL::DecodeMp3File(kData + "/General/music.mp3", pcm, error)) << error;
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_NEAR(pcm.DurationSeconds(), 167.0, 1.0);
}

TEST(DataFolder, RelocationKeepsTheRestOfThePath) {
    EXPECT_EQ(QuenliteAssets::RelocateDataPath("Data/Ter/ray0.3DS", "x/data"), "x/data/Ter/ray0.3DS");
    EXPECT_EQ(QuenliteAssets::RelocateDataPath("data\\og2.png", "d"), "d\\og2.png");
}
