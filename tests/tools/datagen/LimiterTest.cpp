// Tests for the master limiter: it leaves what stays below the ceiling alone, brings a burst's
// true peak down to the ceiling while touching only the time around it, and limits a loop as
// the loop it is.
#include "datagen/Limiter.h"
#include "datagen/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr Synth::LimiterShape kShape = {-2.0, 176, 0.08};

// A 200 Hz tone at `quiet` with a 50 ms burst at `loud` from frame `burstAt`.
std::vector<float> ToneWithBurst(std::size_t frames, std::size_t burstAt, float quiet, float loud) {
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const bool burst = i >= burstAt && i < burstAt + kRate / 20;
        x[i] = (burst ? loud : quiet) * float(std::sin(2 * 3.14159265358979 * 200.0 * double(i) / kRate));
    }
    return x;
}

}  // namespace

TEST(Limiter, TouchesOnlyThePeaksAboveTheCeiling) {
    const std::size_t frames = kRate, burstAt = kRate / 2;
    const auto input = ToneWithBurst(frames, burstAt, 0.3f, 1.4f);
    auto left = input, right = input;
    for (float& v : right) v *= 0.5f;  // one gain for both channels: the image stays put
    Synth::LimitTruePeaks(left, right, kShape, kRate, false);

    EXPECT_LE(Synth::ToDb(Synth::TruePeak(left.data(), frames)), kShape.ceilingDbtp + 0.05);
    for (std::size_t i = 0; i < frames; ++i) ASSERT_FLOAT_EQ(right[i], left[i] * 0.5f) << i;
    // Untouched before the look-ahead's ramp and once the recovery has died away.
    const std::size_t rampStart = burstAt - Synth::LimiterReach(kShape);
    for (std::size_t i = 0; i < rampStart; ++i) ASSERT_EQ(left[i], input[i]) << i;
    const std::size_t settled = burstAt + kRate / 20 + std::size_t(12 * kShape.releaseS * kRate);
    for (std::size_t i = settled; i < frames; ++i) ASSERT_NEAR(left[i], input[i], 1e-4f) << i;
    // Lowered just to the ceiling, not further.
    EXPECT_GE(Synth::ToDb(Synth::TruePeak(left.data() + burstAt, kRate / 20)), kShape.ceilingDbtp - 0.3);
}

TEST(Limiter, ALoopIsLimitedAcrossItsSeam) {
    // A burst that runs up to the seam: limiting one period as a loop gives what the middle of
    // three periods played in a row gets.
    const std::size_t period = kRate / 2;
    auto once = ToneWithBurst(period, period - kRate / 40, 0.3f, 1.4f);
    std::vector<float> three;
    for (int k = 0; k < 3; ++k) three.insert(three.end(), once.begin(), once.end());
    auto threeRight = three;
    Synth::LimitTruePeaks(three, threeRight, kShape, kRate, false);
    auto left = once, right = once;
    Synth::LimitTruePeaks(left, right, kShape, kRate, true);
    for (std::size_t i = 0; i < period; ++i) ASSERT_NEAR(left[i], three[period + i], 1e-5f) << i;
}
