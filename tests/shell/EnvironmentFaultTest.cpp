// A machine nobody tested, met through the seams: no display, no sound device, an OpenGL older
// than 2.1, no framebuffer objects, a working directory where "debug.log" cannot be written. Each
// ends the way the demo means it to: a clear message and the designed exit code, or the show
// going on (silently, or without its log).
#include "assets/AudioDevice.h"
#include "assets/MusicSystem.h"
#include "render/FatalError.h"
#include "render/RenderTextureSystem.h"
#include "shell/Trova01.h"
#include "support/DamagedData.h"
#include "support/FatalRecorder.h"
#include "support/GeneratedData.h"
#include "support/GlTestContext.h"
#include "support/ProcessState.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace VantorGLTest;

namespace {

const std::string kLoadingMusic = (GeneratedData() / "General" / "loading.mp3").string();

bool SpectrumIsFlat(const VantorGL::cMusicSystem& music) {
    for (int i = 0; i < VantorGL::cMusicSystem::kSpectrumSize; ++i)
        if (music.SpectrumValue(i) != 0.0f) return false;
    return true;
}

// A sound device that is never there.
class AbsentOutput final : public VantorGL::cAudioOutput {
public:
    bool Start(VantorGL::cAudioMixer&, std::string& error) override {
        error = "no sound card in this machine";
        return false;
    }
    void Stop() override {}
    void Lock() override {}
    void Unlock() override {}
    int LatencyFrames() const override { return 0; }
};

}  // namespace

// The real programs, the demo and the one with the settings dialog first, no display of any kind:
// a message naming the problem, a non-zero exit, no hang (no dialog waiting for an answer nobody
// can give), and nothing left in the working directory but the log.
TEST(EnvironmentFault, NoDisplayEndsTheProgramWithAMessage) {
    ScratchFolder cwd("nodisplay");
    for (const char* program : {"quenlite", "quenlite-setup"}) {
        for (const char* driver : {"", "offscreen"}) {
            EnvChanges env = {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
            env.push_back({"SDL_VIDEODRIVER", *driver ? std::optional<std::string>(driver) : std::nullopt});
            ProgramResult run = RunProgram(BuiltProgram(program), {}, cwd.Path(), env, 60);
            std::string context = std::string(program) + ", SDL_VIDEODRIVER=" + (*driver ? driver : "(unset)");
            ASSERT_FALSE(run.timedOut) << context;
            EXPECT_EQ(run.signal, 0) << context << ": crashed\n" << run.err;
            EXPECT_EQ(run.exitCode, 1) << context << "\n" << run.err;
            EXPECT_NE(run.err.find("WINDOW: "), std::string::npos) << context << "\n" << run.err;
            EXPECT_NE(run.err.find("display"), std::string::npos) << context << "\n" << run.err;
            EXPECT_EQ(ListTree(cwd.Path()), std::vector<std::string>{"debug.log " + std::to_string(fs::file_size(cwd.Path() / "debug.log"))})
                << context;
        }
    }
}

// An OpenGL 2.0 driver: the window opens, the box says "OpenGL 2.1 not supported.. lol", the
// process ends with code 1, and nothing has been loaded (no loader spoke).
TEST(EnvironmentFaultDeathTest, OpenGlOlderThan21StopsBeforeLoading) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GlTestContext context(64, 48);
            if (!context.Ok()) std::exit(3);
            static Trova01* application = new Trova01;
            application->glVersion = [] { return 20; };
            application->LoadStep();
            std::exit(0);
        },
        testing::ExitedWithCode(1), "^APP: OpenGL 2\\.1 not supported\\.\\. lol\n$");
}

TEST(EnvironmentFault, OpenGl21AndNewerPassTheCheckAnd20StopsTheRun) {
    FatalRecorder fatal;
    VantorGL::CheckOpenGLVersion(21);
    VantorGL::CheckOpenGLVersion(46);
    EXPECT_EQ(fatal.Last().exitCode, -1) << "stopped with: " << fatal.Last().text;
    VantorGL::CheckOpenGLVersion(20);
    EXPECT_EQ(fatal.Last().module, "APP");
    EXPECT_EQ(fatal.Last().exitCode, 1);
    EXPECT_EQ(fatal.Last().text, "OpenGL 2.1 not supported.. lol");
}

// No framebuffer objects (here: no context to offer them): the design's message and exit code 99,
// through the real fatal path.
TEST(EnvironmentFaultDeathTest, NoFramebufferObjectsEndsWithCode99) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(VantorGL::cRenderTextureSystem().Create(64, 64, 1), testing::ExitedWithCode(99),
                "TARGET: GL_EXT_framebuffer_object NOT supported \\. Upgrade your gfx motha fucka");
}

TEST(EnvironmentFault, NoFramebufferObjectsGoesThroughTheFatalSeam) {
    NoCurrentContext none;
    FatalRecorder fatal;
    VantorGL::cRenderTextureSystem target;
    EXPECT_FALSE(target.Create(64, 64, 1));
    EXPECT_EQ(fatal.Last().module, "TARGET");
    EXPECT_EQ(fatal.Last().exitCode, 99);
    EXPECT_EQ(fatal.Last().caption, "Error");
    EXPECT_EQ(fatal.Last().text, "GL_EXT_framebuffer_object NOT supported . Upgrade your gfx motha fucka");
}

// No sound device, through the output seam: the music still decodes and "plays" in silence, the
// spectrum stays flat, and one line says why.
TEST(EnvironmentFault, NoAudioDevicePlaysSilentlyWithAFlatSpectrum) {
    REQUIRE_GENERATED_DATA();
    AbsentOutput absent;
    const AudioOutputSeam seam(&absent);
    const RealClock realTime;  // the device is wanted
    {
        VantorGL::cMusicSystem music;
        music.SetFile(kLoadingMusic);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(music.Open());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said, "MUSIC: no audio device: no sound card in this machine; playing silently\n");
        EXPECT_TRUE(music.Play());
        for (int frame = 0; frame < 5; ++frame) {
            SDL_Delay(20);
            music.AnalyseSpectrum();
            EXPECT_TRUE(SpectrumIsFlat(music)) << "frame " << frame;
        }
        EXPECT_TRUE(music.Stop());
    }
}

// The same through SDL itself, with an audio driver that does not exist on this machine.
TEST(EnvironmentFault, NoSdlAudioDriverPlaysSilently) {
    REQUIRE_GENERATED_DATA();
    EnvironmentVariable driver("SDL_AUDIODRIVER", "quenlite-no-such-driver");
    const RealClock realTime;
    {
        VantorGL::cMusicSystem music;
        music.SetFile(kLoadingMusic);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(music.Open());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("MUSIC: no audio device: ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        music.Play();
        music.AnalyseSpectrum();
        EXPECT_TRUE(SpectrumIsFlat(music));
    }
}

// A machine with ALSA and no sound card: ALSA's library says nothing of its own, the viewer
// reads the one MUSIC line.
TEST(EnvironmentFault, NoSoundCardSaysOneLineOnly) {
    REQUIRE_GENERATED_DATA();
    std::string said;
    bool deviceOpened = false;
    {
        EnvironmentVariable driver("SDL_AUDIODRIVER", "alsa");
        const RealClock realTime;
        VantorGL::cMusicSystem music;
        music.SetFile(kLoadingMusic);
        testing::internal::CaptureStderr();
        music.Open();
        said = testing::internal::GetCapturedStderr();
        deviceOpened = VantorGL::cAudioDevice::Shared()->IsOpen();
    }
    // Decided by the device, not by what was said: a machine without a card must say its line.
    if (deviceOpened) GTEST_SKIP() << "this machine has a sound card ALSA can open";
    EXPECT_EQ(said.rfind("MUSIC: no audio device: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// "debug.log" cannot be created (a folder of that name is in the way): one LOG line, and the
// demo plays on to the frames asked for.
TEST(EnvironmentFault, UnwritableDebugLogPlaysOnWithOneLine) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder out("nolog");
    fs::create_directory(out.Path() / "debug.log");
    ProgramResult run = RunProgram(BuiltProgram("quenlite-capture"),
                                   {"--out", out.Path().string(), "--at", "1", "--quiet"}, QUENLITE_SOURCE_DIR,
                                   {{"SDL_VIDEODRIVER", "offscreen"}}, 300);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines = DiagnosticLines(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0].rfind("LOG: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("debug.log"), std::string::npos) << lines[0];
    EXPECT_TRUE(fs::exists(out.Path() / "001000ms.png"));
}
