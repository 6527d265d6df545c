// Tests for cFrequencyAnalyser: a tone lands in its bin with the documented magnitude.
#include "assets/FrequencyAnalyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using VantorGL::cFrequencyAnalyser;

static std::vector<std::int16_t> Tone(double bin, double amplitude, int channels) {
    std::vector<std::int16_t> pcm(cFrequencyAnalyser::kWindow * channels);
    for (int n = 0; n < cFrequencyAnalyser::kWindow; ++n)
        for (int c = 0; c < channels; ++c)
            pcm[n * channels + c] = std::int16_t(std::lround(
                amplitude * 32767.0 * std::sin(2.0 * M_PI * bin * n / cFrequencyAnalyser::kWindow)));
    return pcm;
}

TEST(Spectrum, FullScaleSineOnABinReadsAboutHalf) {
    cFrequencyAnalyser analyser;
    float out[cFrequencyAnalyser::kBins];
    for (int channels : {1, 2}) {
        auto pcm = Tone(10, 1.0, channels);
        analyser.Analyse(pcm.data(), channels, out);
        EXPECT_NEAR(out[10], 0.5f, 0.01f);
        for (int k = 0; k < cFrequencyAnalyser::kBins; ++k)
            if (std::abs(k - 10) > 1) { EXPECT_LT(out[k], 0.01f) << "bin " << k; }
    }
}

TEST(Spectrum, SilenceIsFlatAndLowToneFillsBinZero) {
    cFrequencyAnalyser analyser;
    float out[cFrequencyAnalyser::kBins];
    std::vector<std::int16_t> silence(cFrequencyAnalyser::kWindow * 2, 0);
    analyser.Analyse(silence.data(), 2, out);
    for (float v : out) EXPECT_EQ(v, 0.0f);
    // A 55 Hz kick fundamental (well under the 86 Hz bin spacing at 44100 Hz) belongs to bin 0.
    auto kick = Tone(55.0 / (44100.0 / 512), 0.8, 2);
    analyser.Analyse(kick.data(), 2, out);
    EXPECT_GT(out[0], 0.1f);
}
