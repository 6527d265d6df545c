// The loading screen: after the one loading step the loading picture fills the window (it
// overflows every edge) and the loading tune is playing in a loop, through the whole load (the
// program's three threads at once: audio, picture workers, main) until the demo music takes over.
#include "shell/Trova01.h"
#include "support/DemoHarness.h"
#include "support/GeneratedData.h"
#include "support/GlTestContext.h"
#include "support/ProcessState.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

TEST(LoadingScreen, PictureCoversTheWindowAndTheTuneLoops) {
    VantorGLTest::GlTestContext context(256, 192);
    REQUIRE_GL(context);
    std::filesystem::path source = QUENLITE_SOURCE_DIR;
    REQUIRE_GENERATED_DATA();
    // The program's own (static there; too large for the stack here), gone before its context;
    // its particle system seeds rand() as it is made, on the test's own state.
    const VantorGLTest::RandSeed seed(2010);
    const auto application = std::make_unique<Trova01>();
    std::vector<std::uint8_t> pixels;
    {
        VantorGLTest::WorkingFolder dataHome(source);
        EXPECT_TRUE(application->LoadStep());
        pixels = context.ReadPixels();
    }

    // The generated picture is deep navy with a bright title in the middle: no black corner
    // (the quad overflows the window), and the centre brighter than the corners.
    auto at = [&](int x, int y) { return &pixels[(std::size_t(y) * context.Width() + x) * 4]; };
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 191}, {255, 191}}) {
        const std::uint8_t* p = at(x, y);
        EXPECT_GT(p[0] + p[1] + p[2], 15) << "corner " << x << "," << y << " is not covered";
        EXPECT_GT(p[2], p[0]) << "corner " << x << "," << y << " is not the navy background";
    }
    VantorGLTest::cColourStats stats = VantorGLTest::DemoHarness::Stats(pixels);
    EXPECT_GT(stats.spread, 5.0);  // a picture, not a flat clear colour
    EXPECT_TRUE(application->loadingMusic.loop);
    EXPECT_TRUE(application->loadingMusic.IsPlaying());
    EXPECT_GT(application->loadingMusic.Stream().Frames(), 0u);
    application->loadingMusic.Stop();
}

// The program's start-up in order: the tune plays on the audio thread while InitGL loads the
// registry, whose pictures decode on worker threads; then the demo music has the device.
TEST(LoadingScreen, TheTunePlaysThroughTheLoadUntilTheDemoMusicStarts) {
    VantorGLTest::GlTestContext context(256, 192);
    REQUIRE_GL(context);
    std::filesystem::path source = QUENLITE_SOURCE_DIR;
    REQUIRE_GENERATED_DATA();
    // Making and setting up the demo seed rand() and restart the clock: the test's own meanwhile.
    const VantorGLTest::RandSeed seed(2010);
    const VantorGLTest::RealClock realTime;
    const auto application = std::make_unique<Trova01>();
    {
        VantorGLTest::WorkingFolder dataHome(source);
        ASSERT_TRUE(application->LoadStep());
        ASSERT_TRUE(application->loadingMusic.IsPlaying());
        EXPECT_TRUE(application->InitGL());
    }

    VantorGL::cResources& registry = application->demo.registry;
    EXPECT_FALSE(application->loadingMusic.IsPlaying());
    EXPECT_TRUE(registry.music.IsPlaying());
    // Pictures from both ends of the decode order made it to the GPU.
    EXPECT_NE(registry.texBackdrop1GeoSquare.texture, 0u);
    EXPECT_NE(registry.texTerWallNorm.texture, 0u);
    registry.music.Stop();
}
