// Tests for loading one registry row again while the demo runs: a picture keeps its GL name and
// shows the new file, a model takes the new objects and keeps its placement, the music takes the
// new stream; a file that is now broken (cut short) says one line and leaves the previous
// content; reloading twice makes and loses no GL object.
#include "assets/DataManifest.h"

#include "support/FileBytes.h"
#include "support/FixedClock.h"
#include "support/GeneratedData.h"
#include "support/GlCensus.h"
#include "support/GlTestContext.h"
#include "support/Mp3TestFile.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGL;
using namespace VantorGLTest;
namespace fs = std::filesystem;

namespace {

const cDataFile& Row(const char* member) {
    for (const cDataFile& row : AssetManifest())
        if (std::strcmp(row.user, member) == 0) return row;
    ADD_FAILURE() << "no manifest row fills " << member;
    return AssetManifest()[0];
}

// Puts `bytes` at the row's path under the working folder, as its loader will look for it.
void Place(const cDataFile& row, const std::vector<std::uint8_t>& bytes) {
    const fs::path path = fs::path("data") / PathInDataFolder(row.path);
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(WriteBytes(path, bytes));
}

std::vector<std::uint8_t> Generated(const cDataFile& row) { return ReadBytes(GeneratedData() / PathInDataFolder(row.path)); }

std::vector<std::uint8_t> FirstHalf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.begin() + std::ptrdiff_t(bytes.size() / 2)};
}

std::vector<std::uint8_t> TexturePixels(GLuint name) {
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return rgba;
}

// Reloads `row`, returning what it said on stderr.
std::string Reload(cResources& registry, const cDataFile& row, bool expected) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(registry.Reload(row), expected) << row.path;
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(ResourcesReload, APictureKeepsItsNameAndABrokenFileKeepsThePicture) {
    REQUIRE_GENERATED_DATA();
    GlTestContext gl;
    ScratchWorkingFolder folder("reload-picture");
    cResources registry;
    const cDataFile& og2 = Row("texOg2");
    Place(og2, Generated(og2));
    EXPECT_EQ(Reload(registry, og2, true), "");  // no name yet: one is made, as by a first load
    const GLuint name = registry.texOg2.texture;
    ASSERT_NE(name, 0u);
    const std::vector<std::uint8_t> first = TexturePixels(name);

    // Another picture under the same file name: the same GL name shows it, and the binding the
    // frame had is left alone.
    Place(og2, Generated(Row("texOg3")));
    glBindTexture(GL_TEXTURE_2D, 0);
    const GlCensus before = TakeGlCensus();
    EXPECT_EQ(Reload(registry, og2, true), "");
    EXPECT_EQ(Reload(registry, og2, true), "");
    EXPECT_EQ(TakeGlCensus(), before) << "reloading made or lost GL objects: " << Describe(before) << " became "
                                      << Describe(TakeGlCensus());
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(registry.texOg2.texture, name);
    const std::vector<std::uint8_t> second = TexturePixels(name);
    EXPECT_NE(second, first);

    // Cut short, as a file caught half-written: one TEXTURE line, the picture stays.
    Place(og2, FirstHalf(Generated(og2)));
    const std::string said = Reload(registry, og2, false);
    EXPECT_EQ(said.rfind("TEXTURE: ", 0), 0u) << said;
    EXPECT_NE(said.find("og2.png"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(registry.texOg2.texture, name);
    EXPECT_EQ(TexturePixels(name), second);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ResourcesReload, AModelTakesTheNewFileAndABrokenOneKeepsTheOldModel) {
    REQUIRE_GENERATED_DATA();
    ScratchWorkingFolder folder("reload-model");
    cResources registry;
    const cDataFile& greeting = Row("mdlGreeting2");
    Place(greeting, Generated(greeting));
    registry.mdlGreeting2.Load(greeting.path);
    registry.mdlGreeting2.position[1] = 7.0f;  // placed by its scene
    const c3DsModelInfo old = registry.mdlGreeting2.Info();
    ASSERT_GT(old.vertices, 0);

    Place(greeting, Generated(Row("mdlGreeting1")));
    EXPECT_EQ(Reload(registry, greeting, true), "");
    const c3DsModelInfo now = registry.mdlGreeting2.Info();
    c3DsModelSystem fresh;
    fresh.Load((GeneratedData() / PathInDataFolder(Row("mdlGreeting1").path)).string().c_str());
    EXPECT_EQ(now.vertices, fresh.Info().vertices);
    EXPECT_EQ(now.objects, fresh.Info().objects);
    EXPECT_NE(now.vertices, old.vertices) << "the two greetings should differ";
    EXPECT_EQ(registry.mdlGreeting2.position[1], 7.0f);

    // Cut short: the objects before the cut would still read, but the whole old model stays.
    Place(greeting, FirstHalf(Generated(greeting)));
    const std::string said = Reload(registry, greeting, false);
    EXPECT_EQ(said.rfind("MODEL: ", 0), 0u) << said;
    EXPECT_NE(said.find("the previous model stays"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(registry.mdlGreeting2.Info().vertices, now.vertices);
}

TEST(ResourcesReload, TheMusicTakesANewStreamAndACutOneKeepsTheOld) {
    ScratchWorkingFolder folder("reload-music");
    FixedClock clock(30);  // no device: the player attaches for offline frames
    cResources registry;
    const cDataFile& music = Row("music");
    registry.SelectMusic();
    ASSERT_TRUE(WriteMp3("tones.mp3", MakeTones({{2.0, 440, 0.5}}, 44100, 2), 44100, 2));
    Place(music, ReadBytes("tones.mp3"));
    ASSERT_TRUE(registry.music.Open());
    const std::int64_t first = registry.music.Stream().Frames();

    ASSERT_TRUE(WriteMp3("tones.mp3", MakeTones({{3.0, 220, 0.5}}, 44100, 2), 44100, 2));
    Place(music, ReadBytes("tones.mp3"));
    EXPECT_EQ(Reload(registry, music, true), "");
    const std::int64_t second = registry.music.Stream().Frames();
    EXPECT_GT(second, first);

    Place(music, FirstHalf(ReadBytes("tones.mp3")));
    const std::string said = Reload(registry, music, false);
    EXPECT_EQ(said.rfind("MUSIC: ", 0), 0u) << said;
    EXPECT_NE(said.find("the previous music stays"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(registry.music.Stream().Frames(), second);
}
