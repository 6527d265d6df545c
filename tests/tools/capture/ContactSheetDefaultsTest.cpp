// Tests for the contact sheet capture makes when no times are given: one thumbnail at the middle
// of each scene window of the timeline, in time order, labelled with its time and its scene.
#include "capture/ContactSheet.h"
#include "timeline/Timeline.h"

#include "support/ProgramRun.h"
#include "support/RgbPngReader.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

TEST(CaptureSheet, WithoutTimesEachSceneMiddleIsTakenAndLabelled) {
    VantorGLTest::ScratchFolder folder("sheet");
    const VantorGLTest::DataHome home("sheet-home");
    ASSERT_FALSE(folder.Path().empty());
    const std::string frames = folder.Path("frames"), sheet = folder.Path("sheet.png");
    VantorGLTest::ProgramResult run = VantorGLTest::RunProgram(
        VantorGLTest::BuiltProgram("quenlite-capture"),
        {"--out", frames, "--sheet", sheet, "--fps", "10", "--size", "64x48", "--quiet"}, home.Path(), {}, 240);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The frames are named by the demo time they show.
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    std::set<std::string> expected, written;
    std::vector<int> middles;
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        middles.push_back((windows[i].startMs + windows[i].endMs) / 2);
        char name[32];
        std::snprintf(name, sizeof name, "%06dms.png", middles.back());
        expected.insert(name);
    }
    for (auto& entry : std::filesystem::directory_iterator(frames))
        if (entry.path().extension() == ".png") written.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);

    // Each label strip reads as a sheet labelled here with that time and scene, in time order,
    // with the label font the program found from the same folder.
    const VantorGLTest::WorkingFolder sameFolder(home.Path());
    ContactSheet reference;
    reference.Resize(int(middles.size()), 64, 48);
    const std::vector<std::uint8_t> black(64 * 48 * 3, 0);
    for (std::size_t i = 0; i < middles.size(); ++i)
        reference.Place(int(i), black.data(), middles[i], windows[i].row->label);
    const std::string referencePath = folder.Path("reference.png");
    ASSERT_TRUE(reference.Write(referencePath));
    int width = 0, height = 0, refWidth = 0, refHeight = 0;
    std::vector<std::uint8_t> made = VantorGLTest::ReadRgbPng(sheet, width, height);
    std::vector<std::uint8_t> wanted = VantorGLTest::ReadRgbPng(referencePath, refWidth, refHeight);
    ASSERT_EQ(width, refWidth);
    ASSERT_EQ(height, refHeight);
    const ContactSheetLayout& layout = reference.Layout();
    for (std::size_t i = 0; i < middles.size(); ++i) {
        int differing = 0, lit = 0;
        for (int y = layout.CellY(int(i)) + layout.thumbHeight; y < layout.CellY(int(i)) + layout.thumbHeight + layout.labelHeight; ++y)
            for (int x = layout.CellX(int(i)); x < layout.CellX(int(i)) + layout.thumbWidth; ++x) {
                std::size_t at = (std::size_t(y) * width + x) * 3;
                differing += made[at] != wanted[at];
                lit += wanted[at] > 150;
            }
        EXPECT_EQ(differing, 0) << "the label of " << windows[i].row->label;
        EXPECT_GT(lit, 0) << "no label font on this machine";
    }
}
