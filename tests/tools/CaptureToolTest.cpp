// Tests for quenlite-capture's command line: every bad argument is a usage message and exit 2;
// a good one renders the asked span, the asked times or a contact sheet.
#include "../../tools/capture/ContactSheetLayout.h"

#include "support/GeneratedData.h"
#include "support/ProgramRun.h"
#include "support/RgbPngReader.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

// Runs quenlite-capture in a data home of its own, wherever the tests were started; its exit code.
int RunCapture(const std::vector<std::string>& arguments) {
    const DataHome home("capture");
    return RunProgram(BuiltProgram("quenlite-capture"), arguments, home.Path()).exitCode;
}

int CountPngs(const std::filesystem::path& folder) {
    int pngs = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) pngs += entry.path().extension() == ".png";
    return pngs;
}

}  // namespace

TEST(CaptureTool, BadArgumentsGiveUsageAndExitCode2) {
    // Every output named lies in a scratch folder: a parser that took one would write there.
    ScratchFolder scratch("capture-args");
    const std::string x = scratch.Path("x");
    const std::vector<std::string> bad[] = {
        {},                                       // no --out
        {"--out"},                                // value missing
        {"--out", x, "--fps", "0"},        // fps out of range
        {"--out", x, "--fps", "ten"},
        {"--out", x, "--from", "1:75"},    // seconds past 59
        {"--out", x, "--from", "-3"},
        {"--out", x, "--from", "0:20", "--to", "0:10"},  // backwards
        {"--out", x, "--from", "3:00"},    // after the end
        {"--out", x, "--size", "1024"},
        {"--out", x, "--size", "0x0"},
        {"--out", x, "--bogus"},
        {"--at", "1"},                            // neither --out nor --sheet
        {"--out", x, "--at", "1", "--from", "0:00.5"},  // a list and a span at once
        {"--out", x, "--to", "2", "--at", "1"},
        {"--out", x, "--at", "2:47.001"},  // after the end
        {"--out", x, "--at", "1,3:10"},
        {"--out", x, "--at", ""},          // empty list
        {"--out", x, "--at", "1,,2"},
        {"--out", x, "--at", "1,"},
        {"--out", x, "--at", "1,x"},
        {"--sheet", x + "/s.png", "--from", "0:01"},  // a sheet takes its times from --at or the scenes
        {"--sheet", ""},
        {"--sheet"},
        {"--quiet"},                              // nothing to write at all
        {"--wav", x + ".wav", "--at", "1"},     // sound follows a span, not single moments
        {"--video", x + ".mp4", "--sheet", scratch.Path("s.png")},
        {"--wav", x + ".wav", "--from", "0:20", "--to", "0:10"},
        {"--wav", x + ".wav", "--fps", "0"},
        {"--wav", x + ".wav", "--fps", "1000"},
        {"--video", x + ".avi"},                // not a container the tool writes
        {"--video", x + ".mp4", "--size", "101x100"},  // yuv420p needs even sides
        {"--video"},
    };
    for (const std::vector<std::string>& arguments : bad) EXPECT_EQ(RunCapture(arguments), 2) << QuotedArguments(arguments);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path())) << "a refused command line wrote something";
}

TEST(CaptureTool, HelpGoesToStandardOutput) {
    const DataHome home("capture-help");
    ProgramResult run = RunProgram(BuiltProgram("quenlite-capture"), {"--help"}, home.Path());
    EXPECT_EQ(run.exitCode, 0);
    const std::string& text = run.out;
    EXPECT_NE(text.find("--video FILE"), std::string::npos) << text;
    EXPECT_NE(text.find("Exit codes"), std::string::npos);
}

TEST(CaptureTool, WritesOneFramePerStepOfTheSpan) {
    namespace fs = std::filesystem;
    ScratchFolder scratch("capture");
    const fs::path& out = scratch.Path();
    // 0:01 to 0:01.5 at 10 fps: demo times 1000, 1100, ..., 1500.
    ASSERT_EQ(RunCapture({"--out", out.string(), "--from", "0:01", "--to", "1.5", "--fps", "10", "--size", "64x48", "--quiet"}), 0);
    EXPECT_EQ(CountPngs(out), 6);
    EXPECT_TRUE(fs::exists(out / "000010.png"));
    EXPECT_TRUE(fs::exists(out / "000015.png"));
}

TEST(CaptureTool, AtWritesExactlyTheAskedTimes) {
    namespace fs = std::filesystem;
    ScratchFolder scratch("capture-at");
    const fs::path& out = scratch.Path();
    // 0.25 s lies between two 10 fps steps: the clock must land on it, not on 0.2 or 0.3.
    ASSERT_EQ(RunCapture({"--out", out.string(), "--at", "0:01.05,0.25", "--fps", "10", "--size", "64x48", "--quiet"}), 0);
    EXPECT_EQ(CountPngs(out), 2);
    EXPECT_TRUE(fs::exists(out / "000250ms.png"));
    EXPECT_TRUE(fs::exists(out / "001050ms.png"));
}

// The opening's cubes burst apart by random heights near its end: two runs, started at
// different calendar seconds, must still draw the same frame there.
TEST(CaptureTool, ARandomMomentIsTheSameFrameInEveryRun) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("capture-seed");
    std::vector<std::vector<std::uint8_t>> frames;
    for (const char* run : {"first", "second"}) {
        const std::filesystem::path out = scratch.Path() / run;
        ASSERT_EQ(RunCapture({"--out", out.string(), "--at", "0:24.5", "--size", "64x48", "--quiet"}), 0);
        int width = 0, height = 0;
        frames.push_back(ReadRgbPng((out / "024500ms.png").string(), width, height));
        ASSERT_FALSE(frames.back().empty()) << run;
    }
    EXPECT_TRUE(frames[0] == frames[1]);
}

// Odd sides (rows that are no multiple of four bytes): the frame comes out whole at that size,
// the white opening (with the first sliver of its wipe) over every row, none of it black.
TEST(CaptureTool, OddSidesGiveWholeFrames) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("capture-odd");
    const std::filesystem::path& out = scratch.Path();
    ASSERT_EQ(RunCapture({"--out", out.string(), "--at", "0.1", "--size", "65x49", "--quiet"}), 0);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = ReadRgbPng((out / "000100ms.png").string(), width, height);
    ASSERT_EQ(width, 65);
    ASSERT_EQ(height, 49);
    long total = 0;
    for (int y = 0; y < height; ++y) {
        long sum = 0;
        for (int x = 0; x < width * 3; ++x) sum += rgb[std::size_t(y) * width * 3 + x];
        EXPECT_GT(sum / (width * 3), 100) << "row " << y << " is dark: not the white opening";
        total += sum;
    }
    EXPECT_GT(total / (width * height * 3), 200) << "not the white opening";
}

TEST(CaptureTool, SheetOfTwoTimesMatchesTheLayoutAndWritesNothingElse) {
    namespace fs = std::filesystem;
    ScratchFolder scratch("capture-sheet");
    const fs::path& out = scratch.Path();
    fs::path sheet = out / "nested" / "sheet.png";
    ASSERT_EQ(RunCapture({"--sheet", sheet.string(), "--at", "1,0.5", "--fps", "10", "--size", "64x48", "--quiet"}), 0);
    ContactSheetLayout layout = LayoutContactSheet(2, 64, 48);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = ReadRgbPng(sheet.string(), width, height);
    ASSERT_EQ(width, layout.width);
    EXPECT_EQ(height, layout.height);
    EXPECT_EQ(CountPngs(sheet.parent_path()), 1);
    EXPECT_FALSE(fs::exists(sheet.parent_path() / "debug.log"));
    // The label strip under the first thumbnail holds bright text on the dark background.
    int bright = 0;
    for (int y = layout.CellY(0) + layout.thumbHeight; y < layout.CellY(0) + layout.thumbHeight + layout.labelHeight; ++y)
        for (int x = layout.CellX(0); x < layout.CellX(0) + layout.thumbWidth; ++x)
            bright += rgb[(std::size_t(y) * width + x) * 3] > 150;
    EXPECT_GT(bright, 10);
}

TEST(CaptureTool, SheetLayoutGrowsByRowsOfFour) {
    ContactSheetLayout nine = LayoutContactSheet(9, 1024, 768);
    EXPECT_EQ(nine.columns, 4);
    EXPECT_EQ(nine.rows, 3);
    EXPECT_EQ(nine.thumbWidth, 320);
    EXPECT_EQ(nine.thumbHeight, 240);
    EXPECT_EQ(nine.width, nine.CellX(3) + nine.thumbWidth + nine.gap);
    EXPECT_EQ(nine.height, nine.CellY(8) + nine.thumbHeight + nine.labelHeight + nine.gap);
    // Wide frames keep their aspect; small ones are not scaled up; one frame is one column.
    ContactSheetLayout wide = LayoutContactSheet(4, 1920, 1080);
    EXPECT_EQ(wide.thumbWidth, 320);
    EXPECT_EQ(wide.thumbHeight, 180);
    ContactSheetLayout small = LayoutContactSheet(1, 64, 48);
    EXPECT_EQ(small.columns, 1);
    EXPECT_EQ(small.thumbWidth, 64);
    EXPECT_EQ(small.width, 64 + 2 * small.gap);
}
