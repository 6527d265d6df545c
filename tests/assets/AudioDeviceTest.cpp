// Tests for the mixer and the shared device through the output seam: summing, saturation,
// looping and one-shot ends, the audible-position estimate, and opening once for many voices.
#include "assets/AudioDevice.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace VantorGL;

namespace {

struct Voice {
    std::vector<std::int16_t> pcm;  // stereo
    cAudioVoice voice;
    Voice(int frames, std::int16_t left, std::int16_t right) {
        for (int n = 0; n < frames; ++n) {
            pcm.push_back(left);
            pcm.push_back(right);
        }
        voice.samples = pcm.data();
        voice.frames = frames;
    }
};

class CountingOutput final : public cAudioOutput {
public:
    bool Start(cAudioMixer& target, std::string& error) override {
        ++starts;
        mixer = &target;
        error = "test device refused";
        return !refuse;
    }
    void Stop() override { ++stops; }
    void Lock() override {}
    void Unlock() override {}
    int LatencyFrames() const override { return 256; }
    cAudioMixer* mixer = nullptr;
    bool refuse = false;
    int starts = 0, stops = 0;
};

// The shared device on a test output for one test: its voices are detached and the real output
// is back when the guard goes, an ASSERT's early return included (declare it after the voices).
class TestOutput {
public:
    TestOutput(cAudioOutput& output, std::initializer_list<cAudioVoice*> used) : voices(used) {
        cAudioDevice::Shared()->UseOutput(&output);
    }
    ~TestOutput() {
        for (cAudioVoice* voice : voices) cAudioDevice::Shared()->Detach(voice);
        cAudioDevice::Shared()->UseOutput(nullptr);
    }
    TestOutput(const TestOutput&) = delete;
    TestOutput& operator=(const TestOutput&) = delete;

private:
    std::vector<cAudioVoice*> voices;
};

}  // namespace

TEST(AudioMixer, SumsPlayingVoicesWithSaturation) {
    cAudioMixer mixer;
    Voice a(100, 1000, -20000), b(100, 2000, -20000), idle(100, 5, 5);
    a.voice.playing = b.voice.playing = true;
    ASSERT_TRUE(mixer.Add(&a.voice));
    ASSERT_TRUE(mixer.Add(&b.voice));
    ASSERT_TRUE(mixer.Add(&idle.voice));
    EXPECT_FALSE(mixer.Add(&a.voice));  // once only
    std::int16_t out[16 * 2];
    mixer.Mix(out, 16, 123);
    EXPECT_EQ(out[0], 3000);
    EXPECT_EQ(out[1], -32768);  // clipped, not wrapped
    EXPECT_EQ(out[31], -32768);
    EXPECT_EQ(a.voice.mixed, 16);
    EXPECT_EQ(a.voice.lastMixNs, 123);
    EXPECT_EQ(idle.voice.mixed, 0);  // not playing: neither heard nor advanced

    mixer.Remove(&b.voice);
    EXPECT_EQ(mixer.Count(), 2);
    mixer.Mix(out, 16, 124);
    EXPECT_EQ(out[0], 1000);
}

TEST(AudioMixer, LoopWrapsAndOneShotEndsInSilence) {
    cAudioMixer mixer;
    Voice once(10, 100, 100), looped(10, 7, 7);
    looped.pcm[0] = 1;  // mark frame 0 to see the wrap
    once.voice.playing = looped.voice.playing = true;
    looped.voice.loop = true;
    mixer.Add(&once.voice);
    std::int16_t out[25 * 2];
    mixer.Mix(out, 25, 0);
    EXPECT_EQ(out[9 * 2], 100);
    EXPECT_EQ(out[10 * 2], 0);
    EXPECT_EQ(once.voice.mixed, 25);  // its clock runs on through the silence
    mixer.Remove(&once.voice);
    mixer.Add(&looped.voice);
    mixer.Mix(out, 25, 0);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[10 * 2], 1);
    EXPECT_EQ(out[20 * 2], 1);
    EXPECT_EQ(out[21 * 2], 7);
}

TEST(AudioMixer, TableHasAFixedSize) {
    cAudioMixer mixer;
    std::vector<cAudioVoice> voices(cAudioMixer::kMaxVoices + 1);
    for (int i = 0; i < cAudioMixer::kMaxVoices; ++i) EXPECT_TRUE(mixer.Add(&voices[i]));
    EXPECT_FALSE(mixer.Add(&voices.back()));
}

TEST(AudioDevice, OpensOnceAndClosesWithTheLastVoice) {
    CountingOutput output;
    cAudioDevice* device = cAudioDevice::Shared();
    Voice a(44100, 1, 1), b(44100, 2, 2);
    TestOutput seam(output, {&a.voice, &b.voice});
    EXPECT_TRUE(device->Attach(&a.voice));
    EXPECT_TRUE(device->Attach(&b.voice));
    EXPECT_TRUE(device->Attach(&b.voice));  // already attached: no second share
    EXPECT_EQ(output.starts, 1);
    EXPECT_EQ(device->Users(), 2);
    device->Detach(&a.voice);
    EXPECT_EQ(output.stops, 0);
    device->Detach(&a.voice);  // twice is harmless
    EXPECT_EQ(device->Users(), 1);
    device->Detach(&b.voice);
    EXPECT_EQ(output.stops, 1);
    EXPECT_FALSE(device->IsOpen());
    // Opened again for the next voice.
    EXPECT_TRUE(device->Attach(&a.voice));
    EXPECT_EQ(output.starts, 2);
    device->Detach(&a.voice);
}

TEST(AudioDevice, AudibleFrameIsMixedLessLatencyPlusTimeSinceTheBuffer) {
    CountingOutput output;
    cAudioDevice* device = cAudioDevice::Shared();
    Voice a(44100, 1, 1);
    TestOutput seam(output, {&a.voice});
    ASSERT_TRUE(device->Attach(&a.voice));
    std::int64_t frame = 0;
    EXPECT_FALSE(device->AudibleFrame(&a.voice, 0, frame));  // not playing
    device->Play(&a.voice, true);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, 0, frame));
    EXPECT_EQ(frame, -256);  // nothing has reached the listener yet
    std::int16_t out[1024 * 2];
    const std::int64_t t0 = 5000000000;
    output.mixer->Mix(out, 1024, t0);
    output.mixer->Mix(out, 1024, t0);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, t0, frame));
    EXPECT_EQ(frame, 2048 - 256);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, t0 + 10000000, frame));  // 10 ms = 441 frames later
    EXPECT_EQ(frame, 2048 - 256 + 441);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, t0 + 500000000, frame));  // never ahead of the mixer
    EXPECT_EQ(frame, 2048 - 256 + 1024);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, t0 - 1000, frame));
    EXPECT_EQ(frame, 2048 - 256);
    // Play again restarts the voice's clock.
    device->Play(&a.voice, true);
    ASSERT_TRUE(device->AudibleFrame(&a.voice, t0, frame));
    EXPECT_EQ(frame, -256);
    device->Stop(&a.voice);
    EXPECT_FALSE(device->AudibleFrame(&a.voice, t0, frame));
    device->Detach(&a.voice);
}

TEST(AudioDevice, PlayFromAFrameMixesFromThereAndAStoppedVoiceKeepsItsPlace) {
    CountingOutput output;
    cAudioDevice* device = cAudioDevice::Shared();
    Voice a(4, 0, 0);
    for (int n = 0; n < 4; ++n) a.pcm[2 * n] = a.pcm[2 * n + 1] = std::int16_t(100 * n);
    TestOutput seam(output, {&a.voice});
    ASSERT_TRUE(device->Attach(&a.voice));
    device->Play(&a.voice, true, 2);
    EXPECT_EQ(device->MixedFrames(&a.voice), 2);
    std::int16_t out[3 * 2];
    output.mixer->Mix(out, 3, 0);
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[2], 300);
    EXPECT_EQ(out[4], 0);  // looped round to the first frame
    EXPECT_EQ(device->MixedFrames(&a.voice), 5);
    device->Stop(&a.voice);
    output.mixer->Mix(out, 3, 0);
    EXPECT_EQ(device->MixedFrames(&a.voice), 5);
    device->Detach(&a.voice);
}

TEST(AudioDevice, MissingDeviceIsReportedOncePerSilentSpell) {
    CountingOutput output;
    output.refuse = true;
    cAudioDevice* device = cAudioDevice::Shared();
    Voice a(10, 1, 1), b(10, 1, 1);
    TestOutput seam(output, {&a.voice, &b.voice});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(device->Attach(&a.voice));
    EXPECT_FALSE(device->Attach(&b.voice));
    device->Play(&a.voice, false);  // silent no-ops
    device->Stop(&a.voice);
    std::int64_t frame = 0;
    EXPECT_FALSE(device->AudibleFrame(&a.voice, 0, frame));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MUSIC: no audio device: test device refused; playing silently\n");
    EXPECT_EQ(output.starts, 1);  // the second voice did not ask again
    device->Detach(&a.voice);
    device->Detach(&b.voice);
    // A new spell asks again, and may find a device this time.
    output.refuse = false;
    EXPECT_TRUE(device->Attach(&a.voice));
    EXPECT_EQ(output.starts, 2);
    device->Detach(&a.voice);
}
