// Tests for cMusicSystem: the spectrum follows the demo clock under the fixed-step counter, the
// audible position under a (fake) device, and every failure stays silent with one stderr line.
#include "assets/MusicSystem.h"
#include "support/FixedClock.h"
#include "support/Mp3TestFile.h"
#include "support/ProcessState.h"
#include "support/ScratchFolder.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

using namespace VantorGL;
using namespace VantorGLTest;

namespace {

constexpr double kBinHz = 44100.0 / 512;  // width of one spectrum bin at the device rate
constexpr int kLowBin = 10, kHighBin = 40;

// A tone on kLowBin for one second, then one on kHighBin for one second, full scale, stereo.
std::string WriteToneChange(const ScratchFolder& folder) {
    const std::string path = folder.Path("change.mp3");
    EXPECT_TRUE(WriteMp3(path, MakeTones({{1.0, kLowBin * kBinHz, 1.0}, {1.0, kHighBin * kBinHz, 1.0}}, 44100, 2),
                         44100, 2));
    return path;
}

void ExpectUpperHalfZero(const cMusicSystem& music) {
    for (int i = 256; i < cMusicSystem::kSpectrumSize; ++i) ASSERT_EQ(music.SpectrumValue(i), 0.0f) << i;
}

bool AllZero(const cMusicSystem& music) {
    for (int i = 0; i < cMusicSystem::kSpectrumSize; ++i)
        if (music.SpectrumValue(i) != 0.0f) return false;
    return true;
}

// The device seam by hand: the test plays the audio thread.
class FakeOutput final : public cAudioOutput {
public:
    bool Start(cAudioMixer& target, std::string& error) override {
        ++starts;
        mixer = &target;
        return true;
    }
    void Stop() override {
        ++stops;
        mixer = nullptr;
    }
    void Lock() override { lock.lock(); }
    void Unlock() override { lock.unlock(); }
    int LatencyFrames() const override { return cAudioDevice::kBufferFrames; }
    // One device buffer, as the callback would ask for it, stamped `ageMs` ago. The default
    // stamp lies in the future, so the position estimate adds nothing for the time since.
    void Pull(std::int16_t* out, int ageMs = -1000) {
        std::lock_guard<std::mutex> hold(lock);
        mixer->Mix(out, cAudioDevice::kBufferFrames, cAudioDevice::SteadyNowNs() - ageMs * 1000000LL);
    }
    cAudioMixer* mixer = nullptr;
    int starts = 0, stops = 0;
    std::mutex lock;
};

}  // namespace

TEST(MusicSystem, FixedStepSpectrumFollowsTheDemoClockWithoutADevice) {
    ScratchFolder folder("music");
    const std::string path = WriteToneChange(folder);
    FixedClock clock(50);  // 20 ms a frame
    clock.AdvanceTo(200);  // the music's zero need not be the clock's
    cMusicSystem music;
    music.SetFile(path);
    ASSERT_TRUE(music.Open(nullptr));
    EXPECT_FALSE(cAudioDevice::Shared()->IsOpen());  // capture makes no sound
    ASSERT_TRUE(music.Play());

    clock.AdvanceTo(700);  // 0.5 s into the music: the low tone
    music.AnalyseSpectrum();
    EXPECT_NEAR(music.SpectrumValue(kLowBin), 0.5f, 0.05f);
    EXPECT_LT(music.SpectrumValue(kHighBin), 0.02f);
    EXPECT_LT(music.SpectrumValue(kLowBin + 5), 0.02f);
    ExpectUpperHalfZero(music);

    // The window at 0.98 s ends before the change; the one at 1.00 s starts on it.
    clock.AdvanceTo(1180);
    music.AnalyseSpectrum();
    EXPECT_GT(music.SpectrumValue(kLowBin), 0.4f);
    EXPECT_LT(music.SpectrumValue(kHighBin), 0.05f);
    clock.AdvanceTo(1200);
    music.AnalyseSpectrum();
    EXPECT_NEAR(music.SpectrumValue(kHighBin), 0.5f, 0.05f);
    EXPECT_LT(music.SpectrumValue(kLowBin), 0.05f);
    ExpectUpperHalfZero(music);

    // Past the end of a one-shot stream: silence.
    clock.AdvanceTo(2300);
    music.AnalyseSpectrum();
    EXPECT_TRUE(AllZero(music));

    // Stopped: silence too, and a new Play starts again from the first frame.
    clock.AdvanceTo(3000);
    music.Play();
    clock.AdvanceTo(3500);
    music.Stop();
    music.AnalyseSpectrum();
    EXPECT_TRUE(AllZero(music));
    music.Play();
    clock.AdvanceTo(4000);
    music.AnalyseSpectrum();
    EXPECT_NEAR(music.SpectrumValue(kLowBin), 0.5f, 0.05f);
}

TEST(MusicSystem, LoopingStreamWrapsItsPosition) {
    ScratchFolder folder("music");
    const std::string path = WriteToneChange(folder);
    FixedClock clock(50);  // 20 ms a frame
    cMusicSystem music;
    music.SetFile(path);
    music.SetLoop(true);
    ASSERT_TRUE(music.Open(nullptr));
    music.Play();
    for (int lap : {0, 1, 5}) {
        clock.AdvanceTo(lap * 2000 + 500);
        music.AnalyseSpectrum();
        EXPECT_NEAR(music.SpectrumValue(kLowBin), 0.5f, 0.05f) << "lap " << lap;
        clock.AdvanceTo(lap * 2000 + 1500);
        music.AnalyseSpectrum();
        EXPECT_NEAR(music.SpectrumValue(kHighBin), 0.5f, 0.05f) << "lap " << lap;
    }
}

TEST(MusicSystem, BadFilesAreSilentWithOneLine) {
    ScratchFolder folder("music");
    std::ofstream(folder.Path("junk.mp3")) << "not music at all";
    for (const std::string& name : {folder.Path("missing.mp3"), folder.Path("junk.mp3")}) {
        cMusicSystem music;
        music.SetFile(name);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(music.Open(nullptr));
        music.SetLoop(true);
        EXPECT_FALSE(music.Play());
        music.AnalyseSpectrum();
        EXPECT_FALSE(music.Stop());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("MUSIC: " + name + ": ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(AllZero(music));
        EXPECT_EQ(music.SpectrumValue(-1), 0.0f);
        EXPECT_EQ(music.SpectrumValue(512), 0.0f);
    }
    EXPECT_FALSE(cAudioDevice::Shared()->IsOpen());
}

TEST(MusicSystem, NothingPlaysBeforeOpen) {
    cMusicSystem music;
    EXPECT_TRUE(AllZero(music));
    EXPECT_FALSE(music.Play());  // nothing opened: a silent no-op
    music.AnalyseSpectrum();
    EXPECT_TRUE(AllZero(music));
}

TEST(MusicSystem, TwoPlayersShareOneDeviceAndOverlap) {
    ScratchFolder folder("music");
    const std::string changePath = WriteToneChange(folder);
    const std::string loadingPath = folder.Path("loading.mp3");
    ASSERT_TRUE(WriteMp3(loadingPath, MakeTones({{0.5, 25 * kBinHz, 0.5}}, 44100, 2), 44100, 2));
    FakeOutput fake;
    const VantorGLTest::AudioOutputSeam seam(&fake);
    std::int16_t buffer[cAudioDevice::kBufferFrames * 2];

    auto loading = std::make_unique<cMusicSystem>();
    loading->SetFile(loadingPath);
    ASSERT_TRUE(loading->Open(nullptr));
    loading->SetLoop(true);
    loading->Play();
    auto music = std::make_unique<cMusicSystem>();
    music->SetFile(changePath);
    ASSERT_TRUE(music->Open(nullptr));
    EXPECT_EQ(fake.starts, 1);  // opened once for both
    EXPECT_EQ(cAudioDevice::Shared()->Users(), 2);

    for (int i = 0; i < 30; ++i) fake.Pull(buffer);  // the loading tune loops past its end
    loading->AnalyseSpectrum();
    EXPECT_NEAR(loading->SpectrumValue(25), 0.25f, 0.03f);
    music->Play();
    fake.Pull(buffer);
    // Both are heard together: the sum of two tones has more range than the loading tune alone.
    EXPECT_GT(*std::max_element(buffer, buffer + 2048), 0.5 * 32767 + 1000);
    loading->Stop();
    for (int i = 0; i < 42; ++i) fake.Pull(buffer);

    // 43 buffers mixed (44032 frames) less one buffer of latency: the window [43008, 43520)
    // still lies before the change at frame 44100.
    music->AnalyseSpectrum();
    EXPECT_NEAR(music->SpectrumValue(kLowBin), 0.5f, 0.05f);
    EXPECT_LT(music->SpectrumValue(kHighBin), 0.02f);
    EXPECT_LT(music->SpectrumValue(25), 0.02f);  // the stopped loading tune is not in it
    for (int i = 0; i < 4; ++i) fake.Pull(buffer);  // 47 buffers: [47104 - 1024, ...) all high
    music->AnalyseSpectrum();
    EXPECT_NEAR(music->SpectrumValue(kHighBin), 0.5f, 0.05f);
    EXPECT_LT(music->SpectrumValue(kLowBin), 0.02f);
    ExpectUpperHalfZero(*music);
    loading->AnalyseSpectrum();  // stopped: silence
    EXPECT_TRUE(AllZero(*loading));

    loading.reset();  // the loading tune goes first; the device stays for the music
    EXPECT_EQ(fake.stops, 0);
    EXPECT_EQ(cAudioDevice::Shared()->Users(), 1);
    fake.Pull(buffer);
    music.reset();
    EXPECT_EQ(fake.stops, 1);
    EXPECT_FALSE(cAudioDevice::Shared()->IsOpen());
}

TEST(MusicSystem, NoAudioDevicePlaysSilentlyWithOneLine) {
    ScratchFolder folder("music");
    const std::string path = WriteToneChange(folder);
    EnvironmentVariable driver("SDL_AUDIODRIVER", "no-such-driver");
    {
        testing::internal::CaptureStderr();
        cMusicSystem loading, music;
        loading.SetFile(path);
        music.SetFile(path);
        EXPECT_TRUE(loading.Open(nullptr));  // the file is fine; only the sound is missing
        EXPECT_TRUE(music.Open(nullptr));
        loading.SetLoop(true);
        loading.Play();
        music.Play();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        music.AnalyseSpectrum();
        loading.Stop();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("MUSIC: no audio device: ", 0), 0u) << said;
        EXPECT_NE(said.find("; playing silently\n"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(AllZero(music));
        EXPECT_FALSE(cAudioDevice::Shared()->IsOpen());
    }
}

// SDL's dummy driver consumes audio in real time without hardware: the whole real path runs.
TEST(MusicSystem, SdlDummyDevicePlaysAndTheSpectrumMoves) {
    ScratchFolder folder("music");
    const std::string path = WriteToneChange(folder);
    EnvironmentVariable driver("SDL_AUDIODRIVER", "dummy");
    {
        cMusicSystem music;
        music.SetFile(path);
        ASSERT_TRUE(music.Open(nullptr));
        ASSERT_EQ(cAudioDevice::Shared()->Users(), 1);
        // Looping, so the sound is still there however late this thread gets to look (the whole
        // suite may be running beside it on two cores); the bound only keeps a dead device from
        // hanging the test, and is far beyond the tens of milliseconds the sound takes.
        music.SetLoop(true);
        music.Play();
        const auto start = std::chrono::steady_clock::now();
        const auto deadline = start + std::chrono::seconds(30);
        while (music.SpectrumValue(kLowBin) <= 0.3f && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            music.AnalyseSpectrum();
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        EXPECT_GT(music.SpectrumValue(kLowBin), 0.3f) << "no sound reached the listener in " << waited.count() << " ms";
        ExpectUpperHalfZero(music);
    }
    EXPECT_FALSE(cAudioDevice::Shared()->IsOpen());
}
