// Tests for the beat checker: synthetic kicks, silence and a drone, replayed through the rules.
#include "assets/Beats.h"

#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using QuenliteAssets::CheckBeats;
using QuenliteAssets::SceneBeats;

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kFrames = std::size_t(167) * kRate;

// Mono PCM with a 55 Hz kick every `everyMs` from `fromMs` on.
std::vector<std::int16_t> Kicks(int fromMs, int everyMs) {
    std::vector<std::int16_t> pcm(kFrames, 0);
    for (int ms = fromMs; ms < 167000; ms += everyMs)
        for (int i = 0; i < kRate / 5; ++i) {
            double t = double(i) / kRate;
            std::size_t at = std::size_t(ms) * 441 / 10 + i;
            if (at < pcm.size()) pcm[at] = std::int16_t(20000.0 * std::sin(2 * M_PI * 55 * t) * std::exp(-t / 0.06));
        }
    return pcm;
}

const SceneBeats& Find(const std::vector<SceneBeats>& all, const char* member) {
    for (const auto& s : all)
        if (!std::strcmp(s.member, member)) return s;
    ADD_FAILURE() << "no scene row for " << member;
    static SceneBeats none;
    return none;
}

}  // namespace

TEST(Beats, SilenceTakesNothingAndFailsTheBeatScenes) {
    std::vector<std::int16_t> silence(kFrames * 2, 0);
    auto scenes = CheckBeats(silence.data(), kFrames, 2, kRate);
    ASSERT_EQ(scenes.size(), VantorGL::kTimelineRows);
    EXPECT_STREQ(scenes.front().member, "selvoHills");
    EXPECT_STREQ(scenes.back().member, "cucumberCamping");
    const auto& opening = Find(scenes, "selvoHills");
    EXPECT_EQ(opening.beats, 0);
    EXPECT_EQ(opening.ringsFullLocalMs, -1);
    EXPECT_FALSE(opening.ok);
    EXPECT_EQ(Find(scenes, "orembyCity").raysVisibleShare, 1.0f) << "silent rays are fully opaque";
    EXPECT_EQ(Find(scenes, "tavikIsleFirst").scriptSteps, 6) << "the script runs on time alone";
    EXPECT_FALSE(Find(scenes, "tavikIsleSecond").ok);
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    EXPECT_EQ(QuenliteAssets::PrintBeats(silence.data(), kFrames, 2, kRate, sink), 1);
    std::fclose(sink);
}

TEST(Beats, KicksEveryHalfSecondFollowEachRule) {
    auto pcm = Kicks(0, 500);
    auto scenes = CheckBeats(pcm.data(), pcm.size(), 1, kRate);
    const auto& opening = Find(scenes, "selvoHills");
    EXPECT_EQ(opening.minGapMs, 500);
    EXPECT_EQ(opening.maxGapMs, 500);
    // The logo is gone once progress reaches 0.03 (wipe ~5.5 s, fade-in 1 s, then per frame and
    // per beat); nine beats later the seventh ring is up.
    EXPECT_GT(opening.progressFullLocalMs, 6555);
    EXPECT_NEAR(opening.ringsFullLocalMs - opening.progressFullLocalMs, 9 * 500, 500);
    EXPECT_TRUE(opening.ok);

    const auto& figure = Find(scenes, "tavikIsleSecond");
    // 888 ms of cooldown skips every other kick; the first step waits out the scene's initial
    // 100 ms and catches the tail of the kick at the window's start.
    EXPECT_GE(figure.minGapMs, 888);
    EXPECT_EQ(figure.maxGapMs, 1000);
    EXPECT_TRUE(figure.ok);
    EXPECT_EQ(Find(scenes, "tavikIsleFirst").beats, -1) << "the beat rule starts only at 87000 ms";

    const auto& torus = Find(scenes, "route21First");
    EXPECT_NEAR(torus.beats, 20, 1);
    const auto& cluster = Find(scenes, "orembyCity");
    EXPECT_NEAR(cluster.beats, 36, 1);
    EXPECT_TRUE(cluster.ok);
    EXPECT_EQ(Find(scenes, "drunaBeach").beats, -1) << "no rule there";
}

TEST(Beats, ADroneHidesTheRaysForGood) {
    std::vector<std::int16_t> pcm(kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) pcm[i] = std::int16_t(24000.0 * std::sin(2 * M_PI * 30.0 * double(i) / kRate));
    auto scenes = CheckBeats(pcm.data(), pcm.size(), 1, kRate);
    const auto& cluster = Find(scenes, "orembyCity");
    EXPECT_LT(cluster.raysVisibleShare, 0.5f);
    EXPECT_FALSE(cluster.ok);
}

TEST(Beats, ShortOrBadInputReadsAsSilence) {
    std::vector<std::int16_t> pcm(100, 30000);
    auto scenes = CheckBeats(pcm.data(), 50, 2, kRate);
    EXPECT_EQ(Find(scenes, "selvoHills").beats, 0);
    scenes = CheckBeats(nullptr, 0, 2, kRate);
    EXPECT_EQ(scenes.size(), VantorGL::kTimelineRows);
    scenes = CheckBeats(pcm.data(), 50, 7, kRate);
    EXPECT_EQ(Find(scenes, "pelkAirport").beats, 0);
}
