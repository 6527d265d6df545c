// The bad-input matrix over the whole demo: the real program (quenlite-capture, which runs the
// application's own Run sequence) plays a copy of the data folder with files of every kind broken
// in every way, or no data folder at all, from start-up to the last frame, one frame in each
// scene window. It must end normally, name every broken file, write nothing but what it was asked
// for, and `quenlite-assets check` must report each broken file.
#include "assets/DataManifest.h"
#include "support/DamagedData.h"
#include "support/ScratchFolder.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VantorGLTest;

namespace {

// One frame in each scene window (their middles) and the last moment of the demo; capture reads
// these as seconds.
const char* const kMoments = "12.5,34,50,71.6,91.2,103.2,112.5,124.5,150.5,166.9";
constexpr int kMomentCount = 10;

struct Broken {
    const char* file;    // under data/
    eDamage damage;
    const char* other;   // for WrongFormat: a file of another kind, under data/
};

// Two folders between them put pictures (both routes), models, the music and the font in every
// state; the pipe and folder cases also prove no loader blocks or reads a folder.
const std::vector<Broken> kFirstSet = {
    {"og2.png", eDamage::Missing, nullptr},
    {"og3.png", eDamage::Empty, nullptr},
    {"BlurMap.png", eDamage::Truncated, nullptr},
    {"BlurMapII.png", eDamage::CorruptMiddle, nullptr},
    {"logoscene.png", eDamage::WrongFormat, "art1.jpg"},
    {"blurselvo.png", eDamage::Folder, nullptr},
    {"ray_alpha.png", eDamage::Pipe, nullptr},
    {"bgspheretexture.jpg", eDamage::Missing, nullptr},
    {"Crystal_diffuse.jpg", eDamage::Empty, nullptr},
    {"crystalNormalMap.jpg", eDamage::Truncated, nullptr},
    {"box01diffusemap.jpg", eDamage::CorruptMiddle, nullptr},
    {"humanplant_template.jpg", eDamage::WrongFormat, "Ter/ray1.3DS"},
    {"chrome.jpg", eDamage::Folder, nullptr},
    {"Ter/floor_comp.jpg", eDamage::Pipe, nullptr},
    {"mvlogo.3DS", eDamage::Missing, nullptr},
    {"cuball.3DS", eDamage::Empty, nullptr},
    {"ray.3DS", eDamage::Truncated, nullptr},
    {"tunnel.3DS", eDamage::CorruptMiddle, nullptr},
    {"torus.3DS", eDamage::WrongFormat, "art1.jpg"},
    {"sky_sphere.3DS", eDamage::Folder, nullptr},
    {"greeting1.3DS", eDamage::Pipe, nullptr},
    {"General/music.mp3", eDamage::Truncated, nullptr},
    {"General/loading.mp3", eDamage::CorruptMiddle, nullptr},
    {"General/c_font.ttf", eDamage::CorruptMiddle, nullptr},
};

const std::vector<Broken> kSecondSet = {
    {"flatnormal.png", eDamage::Empty, nullptr},
    {"Backdrop1_geoSquare.png", eDamage::Truncated, nullptr},
    {"rulletekst_final.png", eDamage::Pipe, nullptr},
    {"Ter/floor_light.jpg", eDamage::Missing, nullptr},
    {"Ter/floor_norm.jpg", eDamage::Empty, nullptr},
    {"Ter/wall_comp.jpg", eDamage::Truncated, nullptr},
    {"Ter/wall_light.jpg", eDamage::CorruptMiddle, nullptr},
    {"Ter/wall_norm.jpg", eDamage::WrongFormat, "mvlogo.3DS"},
    {"pillarroom_diff.jpg", eDamage::Folder, nullptr},
    {"Ter/ter_ground.3DS", eDamage::Missing, nullptr},
    {"Ter/ter_crys.3DS", eDamage::Empty, nullptr},
    {"Ter/ter_wall.3DS", eDamage::Truncated, nullptr},
    {"Ter/ter_sky.3DS", eDamage::CorruptMiddle, nullptr},
    {"crystal_many.3DS", eDamage::WrongFormat, "art1.jpg"},
    {"humanplant_mesh.3DS", eDamage::Folder, nullptr},
    {"creds.3DS", eDamage::Pipe, nullptr},
    {"General/music.mp3", eDamage::WrongFormat, "art1.jpg"},
    {"General/loading.mp3", eDamage::Folder, nullptr},
    {"General/c_font.ttf", eDamage::Folder, nullptr},
};

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

bool NamesAny(const std::string& line, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (line.find(name) != std::string::npos) return true;
    return false;
}

// The demo from start-up to its last frame in `cwd`; its frames go to cwd/frames.
ProgramResult PlayDemo(const fs::path& cwd) {
    return RunProgram(BuiltProgram("quenlite-capture"), {"--out", "frames", "--at", kMoments, "--quiet"}, cwd,
                      {{"SDL_VIDEODRIVER", "offscreen"}}, 600);
}

void ExpectPlayedToTheEnd(const ProgramResult& run, const fs::path& cwd) {
    ASSERT_FALSE(run.timedOut) << "the demo hung\n" << run.err;
    ASSERT_EQ(run.signal, 0) << "the demo crashed\n" << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(cwd / "frames")) frames += entry.path().extension() == ".png";
    EXPECT_EQ(frames, kMomentCount);
    EXPECT_TRUE(fs::exists(cwd / "frames" / "166900ms.png")) << "the last frame of the demo is missing";
}

void PlayBrokenFolder(const std::vector<Broken>& set) {
    ScratchFolder cwd("broken");
    if (!CopyGeneratedData(cwd.Path() / "data")) GTEST_SKIP() << "no generated data folder";
    std::vector<std::string> names;
    for (const Broken& broken : set) {
        fs::path other = broken.other ? cwd.Path() / "data" / broken.other : fs::path();
        ASSERT_TRUE(Damage(cwd.Path() / "data" / broken.file, broken.damage, other)) << broken.file;
        names.push_back(FileName(broken.file));
    }
    const std::vector<std::string> dataBefore = ListTree(cwd.Path() / "data");

    ProgramResult run = PlayDemo(cwd.Path());
    ExpectPlayedToTheEnd(run, cwd.Path());
    std::vector<std::string> lines = DiagnosticLines(run.err);
    for (const Broken& broken : set) {
        int naming = 0;
        for (const std::string& line : lines) naming += line.find(FileName(broken.file)) != std::string::npos;
        EXPECT_GE(naming, 1) << broken.file << " (" << DamageName(broken.damage) << ") was never named:\n" << run.err;
    }
    // Every loader line is about a broken file: nothing else is disturbed by them.
    for (const std::string& line : lines) {
        EXPECT_TRUE(NamesAny(line, names)) << "unexpected: " << line;
        std::printf("[demo]   %s\n", line.c_str());
    }
    std::printf("[demo] %zu broken files, %zu diagnostic lines, exit %d\n", set.size(), lines.size(), run.exitCode);

    // Playing reads the data; it never writes there, and leaves nothing in its directory but
    // the frames folder (with its log).
    EXPECT_EQ(ListTree(cwd.Path() / "data"), dataBefore);
    for (const auto& entry : fs::directory_iterator(cwd.Path()))
        EXPECT_TRUE(entry.path().filename() == "data" || entry.path().filename() == "frames") << entry.path();

    // The checker names each broken file in its table and fails.
    ProgramResult check = RunProgram(BuiltProgram("quenlite-assets"), {"check", "data"}, cwd.Path(), {}, 120);
    ASSERT_FALSE(check.timedOut) << "the check hung";
    EXPECT_EQ(check.exitCode, 1) << check.out << check.err;
    for (const Broken& broken : set)
        EXPECT_NE(check.out.find(FileName(broken.file)), std::string::npos)
            << broken.file << " (" << DamageName(broken.damage) << ") not reported:\n" << check.out;
}

}  // namespace

TEST(BadInputDemo, FirstBrokenFolderPlaysToTheEnd) { PlayBrokenFolder(kFirstSet); }

TEST(BadInputDemo, SecondBrokenFolderPlaysToTheEnd) { PlayBrokenFolder(kSecondSet); }

// No data folder at all, in an empty working directory: the demo still plays to its end in
// silence, names every file it could not load, and creates nothing but the frames it was asked
// for and its log.
TEST(BadInputDemo, NoDataFolderPlaysToTheEndAndWritesOnlyItsOutput) {
    ScratchFolder cwd("empty");
    ProgramResult run = PlayDemo(cwd.Path());
    ExpectPlayedToTheEnd(run, cwd.Path());
    std::size_t files = 0;
    for (std::span<const VantorGL::cDataFile> list : {VantorGL::AssetManifest(), VantorGL::FilesOutsideRegistry()}) {
        for (const VantorGL::cDataFile& file : list) {
            ++files;
            // The settings banner belongs to quenlite-setup's dialog, which a capture never shows.
            if (std::string(file.user) == "settings dialog") continue;
            std::string name = FileName(VantorGL::PathInDataFolder(file.path));
            EXPECT_NE(run.err.find(name), std::string::npos) << name << " was never named";
        }
    }
    std::vector<std::string> expected = {"frames", "frames/debug.log"};
    std::vector<std::string> found;
    for (const std::string& entry : ListTree(cwd.Path()))
        if (entry.find(".png") == std::string::npos) found.push_back(entry.substr(0, entry.find(' ')));
    EXPECT_EQ(found, expected);

    ProgramResult check = RunProgram(BuiltProgram("quenlite-assets"), {"check", "data"}, cwd.Path(), {}, 60);
    EXPECT_EQ(check.exitCode, 1);
    const std::string all = std::to_string(files);
    EXPECT_NE(check.out.find(all + " of " + all + " files have problems"), std::string::npos) << check.out;
}
