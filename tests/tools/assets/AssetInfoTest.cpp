// Tests for `quenlite-assets info` and `beats` run as programs: what each kind of file is said
// to be, a broken file of each kind refused with its reason, and one line per scene window.
#include "assets/Beats.h"
#include "timeline/Timeline.h"

#include "support/Mp3TestFile.h"
#include "support/PictureWriter.h"
#include "support/ProgramRun.h"
#include "support/Write3Ds.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

ProgramResult Assets(const std::vector<std::string>& arguments) {
    return RunProgram(BuiltProgram("quenlite-assets"), arguments, QUENLITE_BINARY_DIR, {}, 120);
}

bool Says(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(AssetInfo, EachKindIsDescribedAndABrokenOneRefused) {
    VantorGLTest::ScratchFolder folder("assets");
    std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(5 * 3, 128));
    ASSERT_TRUE(WritePng(folder.Path("p.png"), 5, 3, PNG_COLOR_TYPE_RGB, 8, rows));
    ASSERT_TRUE(WriteFile(folder.Path("m.3ds"), Write3Ds({{"grey"}}, {GridMesh("grid", 2, "grey")})));
    ASSERT_TRUE(WriteMp3(folder.Path("s.mp3"), MakeTones({{1.0, 440, 0.5}}, 44100, 2), 44100, 2));
    // The demo's own face, from the generated data folder.
    const std::string font = std::string(QUENLITE_SOURCE_DIR) + "/data/General/c_font.ttf";
    ASSERT_TRUE(std::filesystem::exists(font)) << "no generated data folder: " << font;

    struct Case {
        std::string path;
        std::vector<std::string> said;
    };
    std::vector<Case> good = {
        {folder.Path("p.png"), {"picture ", "decoded: 5 x 3"}},
        {folder.Path("m.3ds"), {"model ", "objects: 1", "vertices: 9", "faces: 8", "groups: 1", "texture coordinates: yes"}},
        {folder.Path("s.mp3"), {"music ", "duration: 1.0", "rate: 44100 Hz", "channels: 2"}},
        {font, {"font ", "family: ", "style: ", "glyphs: "}},
    };
    for (const Case& c : good) {
        ProgramResult run = Assets({"info", c.path});
        EXPECT_EQ(run.exitCode, 0) << c.path << "\n" << run.err;
        EXPECT_EQ(run.err, "") << c.path;
        for (const std::string& part : c.said) EXPECT_TRUE(Says(run.out, part)) << c.path << " lacks " << part << ":\n" << run.out;
    }
    // The same names over bytes of another kind: each is refused on stderr, nothing is described.
    std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'd', 'a', 't', 'a', '\n'};
    for (const char* name : {"bad.png", "bad.3ds", "bad.mp3", "bad.ttf"}) {
        ASSERT_TRUE(WriteFile(folder.Path(name), text));
        ProgramResult run = Assets({"info", folder.Path(name)});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.out, "") << name;
        EXPECT_TRUE(Says(run.err, "assets: " + folder.Path(name) + ": ")) << name << ": " << run.err;
    }
    ProgramResult missing = Assets({"info", folder.Path("gone.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Says(missing.err, "assets: " + folder.Path("gone.png") + ": no such file")) << missing.err;
}

// One line per scene window in time order, each ending in its verdict, and the exit code the
// verdicts add up to.
TEST(AssetBeats, OneLinePerSceneWindowWithItsVerdict) {
    const int rate = 44100;
    std::vector<std::int16_t> silence(std::size_t(167) * rate * 2, 0);
    std::vector<QuenliteAssets::SceneBeats> scenes = QuenliteAssets::CheckBeats(silence.data(), silence.size() / 2, 2, rate);
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    int code = QuenliteAssets::PrintBeats(silence.data(), silence.size() / 2, 2, rate, sink);
    std::rewind(sink);
    std::string printed;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, sink)) > 0;) printed.append(buffer, n);
    std::fclose(sink);

    std::istringstream lines(printed);
    std::string line;
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    bool allOk = true;
    std::size_t i = 0;
    for (; std::getline(lines, line); ++i) {
        ASSERT_LT(i, VantorGL::kTimelineRows) << printed;
        ASSERT_LT(i, scenes.size());
        EXPECT_EQ(line.rfind(windows[i].row->member, 0), 0u) << line;
        const std::string verdict = scenes[i].ok ? "  ok" : "  FAIL";
        EXPECT_EQ(line.substr(line.size() - verdict.size()), verdict) << line;
        allOk = allOk && scenes[i].ok;
    }
    EXPECT_EQ(i, VantorGL::kTimelineRows);
    EXPECT_EQ(code, allOk ? 0 : 1);

    ProgramResult missing = Assets({"beats", "/nonexistent/tune.mp3"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Says(missing.err, "assets: /nonexistent/tune.mp3: ")) << missing.err;
    EXPECT_EQ(missing.out, "");
}
