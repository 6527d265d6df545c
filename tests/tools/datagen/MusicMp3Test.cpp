// Tests for the MP3 files: the encoder's tag makes a gapless decoder return exactly the frames
// that went in, the kick still drives bin 0 after the round trip, the loading tune loops without
// a seam, and both pieces, decoded, meet the release's loudness and true peak.
#include "assets/FrequencyAnalyser.h"
#include "assets/Mp3Decoder.h"
#include "datagen/Loudness.h"
#include "datagen/SynthMp3.h"
#include "datagen/SynthSoundtrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Decodes a whole MP3 held in memory with the engine's own decoder, as the demo hears it.
std::vector<std::int16_t> Decode(const std::vector<unsigned char>& mp3) {
    VantorGL::cPcmBuffer pcm;
    std::string error;
    EXPECT_TRUE(VantorGL::DecodeMp3Bytes(mp3.data(), mp3.size(), pcm, error, 44100, 2)) << error;
    return pcm.samples;
}

std::vector<unsigned char> Encode(const std::vector<std::int16_t>& pcm) {
    std::vector<unsigned char> mp3;
    std::string error;
    EXPECT_TRUE(Synth::EncodeMp3(pcm, 44100, mp3, error)) << error;
    return mp3;
}

}  // namespace

TEST(MusicMp3, KickStillDrivesBinZeroAfterTheRoundTrip) {
    // Six seconds of the groove (25 to 31 s): a kick on every beat, bass, snares and hats.
    const auto full = Synth::RenderSoundtrack(31000);
    const std::vector<std::int16_t> groove(full.begin() + std::size_t(25) * 44100 * 2, full.end());
    const auto mp3 = Encode(groove);
    ASSERT_GT(mp3.size(), 100000u);
    EXPECT_EQ(mp3[0], 0xFF) << "the first frame (the encoder's tag) starts the file";
    const auto decoded = Decode(mp3);
    ASSERT_EQ(decoded.size(), groove.size()) << "gapless: encoder delay and padding are trimmed";

    VantorGL::cFrequencyAnalyser analyser;
    float bins[VantorGL::cFrequencyAnalyser::kBins];
    auto bin0 = [&](double ms) {
        analyser.Analyse(decoded.data() + std::size_t(ms * 44.1) * 2, 2, bins);
        return bins[0];
    };
    for (int beat = 1; beat < 11; ++beat) {
        SCOPED_TRACE(beat);
        float loud = 0, quiet = 1;
        for (double ms = beat * 500.0; ms < beat * 500.0 + 60; ms += 2) loud = std::max(loud, bin0(ms));
        for (double ms = beat * 500.0 + 250; ms < beat * 500.0 + 450; ms += 5) quiet = std::min(quiet, bin0(ms));
        EXPECT_GT(loud, 0.2f);
        EXPECT_LT(quiet, 0.05f);
    }
    // MP3's small overshoots stay clear of full scale.
    int peak = 0;
    for (std::int16_t s : decoded) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32767);
}

TEST(MusicMp3, LoadingTuneLoopsWithoutASeam) {
    const auto tune = Synth::RenderLoadingTune();
    ASSERT_EQ(tune.size(), Synth::kLoadingFrames * 2);
    EXPECT_GE(Synth::kLoadingFrames, std::size_t(8) * 44100);
    EXPECT_LE(Synth::kLoadingFrames, std::size_t(16) * 44100);
    EXPECT_TRUE(tune == Synth::RenderLoadingTune());

    // The step from the last frame back to the first is an ordinary step of the music: no
    // larger than what the tune does from one frame to the next almost everywhere else.
    auto seamAgainstRest = [](const std::vector<std::int16_t>& pcm) {
        const std::size_t frames = pcm.size() / 2;
        std::vector<int> steps;
        for (std::size_t i = 1; i < frames; ++i)
            for (int c = 0; c < 2; ++c) steps.push_back(std::abs(pcm[i * 2 + c] - pcm[(i - 1) * 2 + c]));
        std::sort(steps.begin(), steps.end());
        const int typical = steps[steps.size() * 999 / 1000];
        int seam = 0;
        for (int c = 0; c < 2; ++c) seam = std::max(seam, std::abs(pcm[c] - pcm[(frames - 1) * 2 + c]));
        return std::make_pair(seam, typical);
    };
    auto [seam, typical] = seamAgainstRest(tune);
    EXPECT_LE(seam, typical);
    // The tune is not silent at the seam: the pad rings through it.
    EXPECT_GT(std::abs(int(tune[0])) + std::abs(int(tune[tune.size() - 2])), 200);

    const auto decoded = Decode(Encode(tune));
    ASSERT_EQ(decoded.size(), tune.size()) << "the decoded loop is exactly as long as the tune";
    auto [decodedSeam, decodedTypical] = seamAgainstRest(decoded);
    EXPECT_LE(decodedSeam, decodedTypical);
}

TEST(MusicMp3, BothPiecesAreMasteredLikeARelease) {
    // Read as the demo plays them: encoded, then decoded (MP3 lifts the peaks between samples).
    struct Piece {
        const char* name;
        std::vector<std::int16_t> pcm;
    } pieces[] = {{"music.mp3", Synth::RenderSoundtrack()}, {"loading.mp3", Synth::RenderLoadingTune()}};
    for (const Piece& piece : pieces) {
        SCOPED_TRACE(piece.name);
        const auto decoded = Decode(Encode(piece.pcm));
        ASSERT_EQ(decoded.size(), piece.pcm.size());
        const auto reading = Synth::MeasureLoudness(decoded.data(), decoded.size() / 2, 2, 44100);
        EXPECT_NEAR(reading.integratedLufs, Synth::kReleaseLoudnessLufs, 1.0);
        EXPECT_LE(reading.truePeakDbtp, Synth::kReleaseTruePeakDbtp);
    }
}
