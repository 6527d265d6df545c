// Tests for the synthesised soundtrack: it lasts 2:47, never clips, renders the same bytes every
// time, and gives each scene that follows the music the beats it needs, whatever the frame phase.
#include "assets/Beats.h"
#include "assets/FrequencyAnalyser.h"
#include "datagen/SynthSoundtrack.h"
#include "scenes/TavikIsleScene.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

const std::vector<std::int16_t>& FullTrack() {
    static const std::vector<std::int16_t> pcm = Synth::RenderSoundtrack();
    return pcm;
}

const QuenliteAssets::SceneBeats& Scene(const std::vector<QuenliteAssets::SceneBeats>& all, const char* member) {
    for (const auto& s : all)
        if (!std::strcmp(s.member, member)) return s;
    static QuenliteAssets::SceneBeats none;
    ADD_FAILURE() << "no window for " << member;
    return none;
}

}  // namespace

TEST(Soundtrack, LastsTheDemoAndStaysBelowFullScale) {
    const auto& pcm = FullTrack();
    ASSERT_EQ(pcm.size(), Synth::kSoundtrackFrames * 2);
    EXPECT_EQ(Synth::kSoundtrackFrames, std::size_t(167) * 44100);
    int peak = 0;
    for (std::int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32000) << "the mix keeps its headroom";
    EXPECT_GT(peak, 16000) << "and is not timid either";
    // The close: the last 20 ms have faded out.
    for (std::size_t i = pcm.size() - 2 * 882; i < pcm.size(); ++i) ASSERT_LT(std::abs(int(pcm[i])), 200) << i;
}

TEST(Soundtrack, SameBytesEveryRunAndShortRendersArePrefixes) {
    const auto a = Synth::RenderSoundtrack(9000), b = Synth::RenderSoundtrack(9000);
    ASSERT_EQ(a.size(), std::size_t(9) * 44100 * 2);
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), FullTrack().begin()));
    // A cut during the sweep that rises into the groove (22 to 25 s), on a kick the master
    // limiter works on: neither the rise nor the limiter's look-ahead may differ at the cut.
    const auto c = Synth::RenderSoundtrack(24000);
    ASSERT_EQ(c.size(), std::size_t(24) * 44100 * 2);
    EXPECT_TRUE(std::equal(c.begin(), c.end(), FullTrack().begin()));
}

TEST(Soundtrack, EveryBeatSceneGetsItsBeatsAtAnyFramePhase) {
    const auto& pcm = FullTrack();
    for (int phase = 0; phase < 17; phase += 4) {
        SCOPED_TRACE(phase);
        auto scenes = QuenliteAssets::CheckBeats(pcm.data(), pcm.size() / 2, 2, 44100, phase);
        ASSERT_EQ(scenes.size(), VantorGL::kTimelineRows);

        // Opening: the pad intro has no beat; the kick from 7 s brings all rings before the tumble.
        const auto& opening = Scene(scenes, "selvoHills");
        EXPECT_GE(opening.firstBeatMs, 6900);
        EXPECT_GE(opening.ringsFullLocalMs, 0);
        EXPECT_LT(opening.ringsFullLocalMs, 19000);
        EXPECT_EQ(opening.minGapMs, 500) << "one ring beat per kick";

        // Crystal cluster: the rays dip on the kicks and come back between them.
        const auto& cluster = Scene(scenes, "orembyCity");
        EXPECT_GE(cluster.beats, 30);
        EXPECT_GT(cluster.raysVisibleShare, 0.8f);
        EXPECT_LT(cluster.raysLongestGoneMs, 100);

        // Second figure: a greeting step every one to two seconds from the start.
        const auto& figure = Scene(scenes, "tavikIsleSecond");
        EXPECT_GE(figure.beats, 10);
        EXPECT_LE(figure.firstBeatMs - figure.startMs, 1000);
        EXPECT_GE(figure.minGapMs, 888);
        EXPECT_LE(figure.maxGapMs, 2000);

        EXPECT_EQ(Scene(scenes, "tavikIsleFirst").scriptSteps, 6);
        EXPECT_GE(Scene(scenes, "pelkAirport").beats, 30) << "the rolling section keeps the kick";
        for (const auto& s : scenes) EXPECT_TRUE(s.ok) << s.member;
    }
}

TEST(Soundtrack, ScriptPointsGetACrash) {
    // The crash at each of the first figure scene's script points brightens the top of the
    // spectrum well beyond the bars before the sweep starts.
    const auto& pcm = FullTrack();
    VantorGL::cFrequencyAnalyser analyser;
    float bins[VantorGL::cFrequencyAnalyser::kBins];
    auto air = [&](double fromMs, double toMs) {
        double sum = 0;
        int n = 0;
        for (double ms = fromMs; ms < toMs; ms += 1000.0 / 60.0, ++n) {
            analyser.Analyse(pcm.data() + std::size_t(ms * 44.1) * 2, 2, bins);
            for (int k = 60; k < 200; ++k) sum += bins[k];  // about 5 to 17 kHz
        }
        return sum / n;
    };
    for (const auto& step : VantorGL::cTavikIsleScene::kScriptSteps) {
        const double at = step[0];  // demo ms, as the scene reads its script
        SCOPED_TRACE(at);
        EXPECT_GT(air(at, at + 150), 2.0 * air(at - 2600, at - 2200));
    }
}
