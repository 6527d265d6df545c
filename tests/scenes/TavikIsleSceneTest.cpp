// Tests for the glass figure scene: the first member's script on demo time, the second member's
// beat rule, and the two members' separate clocks, driven by a hand-moved clock and a scripted
// spectrum without GL; then the picture of each member in the whole demo, headless.
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "assets/Resources.h"
#include "scenes/TavikIsleScene.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace VantorGL;
using VantorGLTest::DemoHarness;

namespace {

using VantorGLTest::ManualCounter;

// Two members driven like the sequencer drives them: one frame per millisecond, in the frame
// loop's order (update, tick). The spectrum of each frame comes from `spectrumAt`.
class TavikIsleClock : public ::testing::Test {
protected:
    void SetUp() override {
        res.music.spectrum[0] = 0.0f;
        for (cTavikIsleScene* scene : {&first, &second}) scene->SetResources(&res);
        VantorGLTest::SetWindowOf(first, "tavikIsleFirst");
        VantorGLTest::SetWindowOf(second, "tavikIsleSecond");
        cTimeSystem::Instance()->UseCounter(&counter);
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    int Now() const { return cTimeSystem::Instance()->SinceReset(); }

    // Runs frames until the demo time is `ms` (that frame not yet updated).
    template <class Spectrum>
    void PlayUntil(int ms, Spectrum spectrumAt) {
        while (Now() < ms) Frame(spectrumAt(Now()));
    }
    // One frame: spectrum, updates in dispatch order, then the clock moves 1 ms.
    void Frame(float spectrum) {
        res.music.spectrum[0] = spectrum;
        first.RunUpdate();
        second.RunUpdate();
        counter.ms += 1;
        cTimeSystem::Instance()->Tick();
    }

    ManualCounter counter;
    static cResources res;  // large; construction makes no GL call
    cTavikIsleScene first, second;
};

cResources TavikIsleClock::res;

float Loud(int) { return 0.5f; }

// Green minus blue, averaged over a narrow band down the middle of the frame, where the glass
// figure stands: its tint takes red and blue away (or adds green at a flash), while the cube
// sphere behind it is blue-grey.
double CentreGreenOverBlue(const std::vector<std::uint8_t>& rgba) {
    double sum = 0;
    int count = 0;
    for (int y = 250; y < 520; ++y)
        for (int x = 500; x < 524; ++x, ++count) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * DemoHarness::kWidth + x) * 4];
            sum += double(p[1]) - double(p[2]);
        }
    return sum / count;
}

}  // namespace

// The script acts on demo time, each step in [from, to) only; loud music changes nothing before
// 87000 ms, and the first member fades out past 28 s of its own time.
TEST_F(TavikIsleClock, FirstMemberFollowsItsScript) {
    PlayUntil(57015, Loud);
    EXPECT_EQ(first.localTime, 0);
    Frame(0.5f);  // first frame of the window: fade from 1, zoom from 1
    EXPECT_NEAR(first.fadeLevel, 1 - 0.0015, 1e-6);
    EXPECT_NEAR(first.zoom, 1.001, 1e-6);
    PlayUntil(57049, Loud);
    Frame(0.5f);
    EXPECT_EQ(first.tintPulse, 0.0f);  // 57049: not yet
    Frame(0.5f);
    EXPECT_NEAR(first.tintPulse, 0.2 - 0.00015, 1e-6);  // 57050: set, then decayed once
    PlayUntil(57199, Loud);
    Frame(0.5f);
    EXPECT_NEAR(first.tintPulse, 0.2 - 0.00015, 1e-6);  // 57199: still set
    Frame(0.5f);
    EXPECT_NEAR(first.tintPulse, 0.2 - 0.0003, 1e-6);  // 57200: end excluded, decays
    EXPECT_EQ(first.cameraMode, 0);
    PlayUntil(57700, Loud);
    EXPECT_EQ(first.zoom, 1.2f);        // moved in within the first 200 ms
    EXPECT_EQ(first.fadeLevel, 0.0f);   // faded in within about 667 ms

    struct Moment { int ms; int greeting; int cameraMode; };
    const Moment moments[] = {{62000, 0, 0}, {66789, 0, 0}, {66790, 1, 1}, {68000, 1, 1}, {71739, 1, 1},
                              {71740, 2, 1}, {73000, 2, 1}, {76840, 3, 1}, {78000, 3, 1}, {81340, 0, 0},
                              {85000, 0, 0}};
    for (const Moment& m : moments) {
        PlayUntil(m.ms, Loud);
        Frame(0.5f);
        EXPECT_EQ(first.greeting, m.greeting) << "at " << m.ms;
        EXPECT_EQ(first.cameraMode, m.cameraMode) << "at " << m.ms;
        if (m.ms == 66790) {
            EXPECT_NEAR(first.fadeLevel, 1 - 0.0015, 1e-6);  // the flash
        }
    }
    EXPECT_EQ(first.beatCooldown, 100 - (85001 - 57015));  // no beat was ever taken

    PlayUntil(86005, Loud);  // past the window
    EXPECT_EQ(first.localTime, 86004 - 57015 + 1);
    EXPECT_GT(first.fadeLevel, 1.0f);  // grows past opaque, unbounded
    const float lastFade = first.fadeLevel;
    PlayUntil(90000, Loud);
    EXPECT_EQ(first.fadeLevel, lastFade);  // keeps its values after the window
    EXPECT_EQ(first.greeting, 0);
}

// The second member has its own clocks from 96004 ms and steps greetings on beats: at most one
// per 888 ms of its own updates, 3 wrapping to 1 within one update; it never fades out.
TEST_F(TavikIsleClock, SecondMemberStepsGreetingsOnBeats) {
    // Beats (spectrum 0.06) at these demo times, silence elsewhere.
    auto beats = [](int ms) {
        static const int kBeats[] = {96050, 97000, 97500, 98000, 99000, 100000, 100500, 101000};
        for (int b : kBeats)
            if (ms == b) return 0.06f;
        return ms == 102000 ? 0.05f : 0.0f;  // exactly at the threshold: a float 0.05 is above it
    };
    PlayUntil(96004, beats);
    const int firstLocal = first.localTime;
    EXPECT_EQ(firstLocal, 86004 - 57015 + 1);
    EXPECT_EQ(second.localTime, 0);
    EXPECT_EQ(second.sceneClock, 0.0);
    EXPECT_EQ(second.greeting, 0);
    Frame(beats(Now()));
    EXPECT_EQ(second.localTime, 1);  // its own time starts here
    EXPECT_NEAR(second.sceneClock, 0.01, 1e-12);
    EXPECT_EQ(second.cameraMode, 1);  // the beat rule applies from its first frame
    EXPECT_EQ(first.localTime, firstLocal);

    PlayUntil(96051, beats);
    EXPECT_EQ(second.greeting, 0);  // 96050: the start cooldown of 100 ms refuses it
    PlayUntil(97001, beats);
    EXPECT_EQ(second.greeting, 1);
    EXPECT_NEAR(second.fadeLevel, 0.5 - 0.0015, 1e-6);
    EXPECT_NEAR(second.tintPulse, 0.1 - 0.00015, 1e-6);
    EXPECT_EQ(second.beatCooldown, 888.0f);
    PlayUntil(97501, beats);
    EXPECT_EQ(second.greeting, 1);  // 500 ms later: cooling down
    PlayUntil(98001, beats);
    EXPECT_EQ(second.greeting, 2);
    PlayUntil(99001, beats);
    EXPECT_EQ(second.greeting, 3);
    PlayUntil(100000, beats);
    Frame(beats(Now()));
    EXPECT_EQ(second.greeting, 1);  // 3 -> 4 -> 1 in one update
    PlayUntil(101001, beats);
    EXPECT_EQ(second.greeting, 2);  // 100500 was refused, 101000 taken
    PlayUntil(102001, beats);
    EXPECT_EQ(second.greeting, 3);

    PlayUntil(110001, beats);
    EXPECT_EQ(second.localTime, 110000 - 96004 + 1);
    EXPECT_EQ(second.fadeLevel, 0.0f);  // no fade-out in this window
    EXPECT_EQ(first.localTime, firstLocal);
    EXPECT_EQ(first.greeting, 0);  // the first member was never touched by the beats
}

// The picture of the first member at its script's moments, through the whole demo.
TEST(TavikIsleRender, FirstMemberDrawsEveryMoment) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    double brightnessMidScene = 0;
    for (int ms : {57300, 64000, 68000, 73000, 78000, 85500}) {
        const std::vector<std::uint8_t>& frame = harness.FrameAt(ms);
        VantorGLTest::cColourStats stats = DemoHarness::Stats(frame);
        const std::string name = "tavik-first-" + std::to_string(ms);
        if (ms == 64000) {
            EXPECT_GT(CentreGreenOverBlue(frame), 0.0) << "no glass figure";
        }
        if (ms < 85500) {
            EXPECT_GT(stats.spread, 8.0) << "uniform frame at " << ms;
            EXPECT_LT(stats.whiteShare, 0.6) << "washed out at " << ms;
        }
        const double brightness = stats.mean[0] + stats.mean[1] + stats.mean[2];
        if (ms == 73000) brightnessMidScene = brightness;
        if (ms == 85500) {
            // The light fade picture is coming back over the scene (opaque from about 85.7 s).
            EXPECT_GT(harness.Demo().tavikIsleFirst.fadeLevel, 0.5f);
            EXPECT_GT(brightness, brightnessMidScene + 60);
        }
        VantorGLTest::KeepFrameIfFailed(frame, DemoHarness::kWidth, DemoHarness::kHeight, name);
    }
    EXPECT_EQ(harness.Demo().tavikIsleFirst.greeting, 0);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}

// The second member, beat-driven, with its own moving camera.
TEST(TavikIsleRender, SecondMemberDrawsWithItsOwnState) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    for (int ms : {98000, 104000}) {
        const std::vector<std::uint8_t>& frame = harness.FrameAt(ms);
        VantorGLTest::cColourStats stats = DemoHarness::Stats(frame);
        const std::string name = "tavik-second-" + std::to_string(ms);
        EXPECT_GT(stats.spread, 8.0) << "uniform frame at " << ms;
        EXPECT_LT(stats.whiteShare, 0.6) << "washed out at " << ms;
        if (ms == 98000) {
            EXPECT_GT(CentreGreenOverBlue(frame), 0.0) << "no glass figure";
        }
        VantorGLTest::KeepFrameIfFailed(frame, DemoHarness::kWidth, DemoHarness::kHeight, name);
    }
    const cTavikIsleScene& second = harness.Demo().tavikIsleSecond;
    EXPECT_EQ(second.cameraMode, 1);
    EXPECT_GE(second.greeting, 1);  // the music has had beats by 1:44
    EXPECT_LT(second.localTime, 28000);
    EXPECT_LT(second.localTime, harness.Demo().tavikIsleFirst.localTime);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}
