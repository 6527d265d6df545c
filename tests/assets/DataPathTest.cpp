// Tests for ResolveDataPath: separators, case folding and the length limit.
#include "assets/DataPath.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using VantorGL::ResolveDataPath;
namespace fs = std::filesystem;

class DataPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(scratch.Path() / "data" / "Ter");
        std::ofstream(scratch.Path() / "data" / "Ter" / "floor_comp.jpg") << "x";
        std::ofstream(scratch.Path() / "data" / "og2.png") << "x";
    }
    VantorGLTest::ScratchWorkingFolder scratch{"datapath"};
};

TEST_F(DataPathTest, BackslashesAndCaseReachTheOneDataFolder) {
    EXPECT_EQ(ResolveDataPath("data\\Ter\\floor_comp.jpg"), "data/Ter/floor_comp.jpg");
    EXPECT_EQ(ResolveDataPath("Data/ter/FLOOR_comp.jpg"), "data/Ter/floor_comp.jpg");
    EXPECT_EQ(ResolveDataPath("Data\\og2.png"), "data/og2.png");
}

TEST_F(DataPathTest, MissingFileKeepsTheSlashedSpelling) {
    EXPECT_EQ(ResolveDataPath("Data\\General\\none.mp3"), "Data/General/none.mp3");
}

TEST_F(DataPathTest, OverlongPathIsRefused) {
    EXPECT_EQ(ResolveDataPath(std::string(261, 'a')), "");
    EXPECT_FALSE(ResolveDataPath(std::string(260, 'a')).empty());
}
