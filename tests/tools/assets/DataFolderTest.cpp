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

// The sizes table names every model once with its counts, and the folder's total holds at least
// the models' sum; a folder without the models names each as unreadable.
TEST(DataFolder, SizesTableCountsEveryModelAndTheWholeFolder) {
    char* report = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&report, &size);
    EXPECT_EQ(QuenliteAssets::PrintModelSizes(kData, out), 0);
    std::fclose(out);
    const std::string table = report;
    std::free(report);
    EXPECT_NE(table.find("greeting1.3DS"), std::string::npos) << table;
    EXPECT_NE(table.find("Ter/ter_sky.3DS"), std::string::npos) << table;
    unsigned long long models = 0, folder = 0;
    const std::size_t sum = table.find("\nmodels ");
    const std::size_t whole = table.find("\ndata folder ");
    ASSERT_NE(sum, std::string::npos) << table;
    ASSERT_NE(whole, std::string::npos) << table;
    unsigned long long vertices = 0, faces = 0;
    ASSERT_EQ(std::sscanf(table.c_str() + sum, " models %llu %llu %llu", &vertices, &faces, &models), 3);
    ASSERT_EQ(std::sscanf(table.c_str() + whole, " data folder %llu", &folder), 1);
    EXPECT_GT(vertices, 0u);
    EXPECT_GT(models, 0u);
    EXPECT_GE(folder, models);

    out = open_memstream(&report, &size);
    EXPECT_GT(QuenliteAssets::PrintModelSizes(std::string(QUENLITE_SOURCE_DIR) + "/docs", out), 30);
    std::fclose(out);
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
