// Tests for the loudness meter against readings worked out from the standard itself: a sine's
// integrated loudness through the K-weighting as tabled for 48 kHz, the gates, and a true peak
// that falls between samples.
#include "datagen/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

std::vector<float> Sine(double hz, double amplitude, double seconds, double phase = 0.0) {
    std::vector<float> x(std::size_t(seconds * kRate));
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = float(amplitude * std::sin(2 * kPi * hz * double(i) / kRate + phase));
    return x;
}

// Power gain of the K-weighting at `hz`, from the two biquads the standard tables for 48 kHz.
double KWeightingPowerAt(double hz) {
    const std::complex<double> z1 = std::polar(1.0, -2 * kPi * hz / 48000.0), z2 = z1 * z1;
    const auto shelf = (1.53512485958697 - 2.69169618940638 * z1 + 1.19839281085285 * z2) /
                       (1.0 - 1.69065929318241 * z1 + 0.73248077421585 * z2);
    const auto highPass = (1.0 - 2.0 * z1 + z2) / (1.0 - 1.99004745483398 * z1 + 0.99007225036621 * z2);
    return std::norm(shelf * highPass);
}

}  // namespace

TEST(Loudness, ReadsASineAsTheStandardPredictsAndGatesQuietPassages) {
    // 997 Hz at -20 dBFS in both channels: each channel's mean square is A^2 / 2, weighted by the
    // K-filter's power gain there, and the two channels add with weight 1.
    const double amplitude = std::pow(10.0, -20.0 / 20.0);
    const double expected = -0.691 + 10.0 * std::log10(2.0 * amplitude * amplitude / 2.0 * KWeightingPowerAt(997.0));
    EXPECT_NEAR(expected, -20.0, 0.02) << "the -0.691 offset makes 1 kHz read its level";

    const auto tone = Sine(997.0, amplitude, 10.0);
    const double reading = Synth::IntegratedLoudness(tone.data(), tone.data(), tone.size(), kRate);
    EXPECT_NEAR(reading, expected, 0.01);
    EXPECT_NEAR(Synth::IntegratedLoudness(tone.data(), nullptr, tone.size(), kRate), expected - 10.0 * std::log10(2.0),
                0.01)
        << "one channel alone reads 3 dB less";

    // Ten seconds 30 dB down and five of silence after the tone: the absolute gate drops the
    // silence, the relative gate the quiet part (without them the reading would fall 3 dB).
    auto withTail = tone;
    const auto quiet = Sine(997.0, amplitude * std::pow(10.0, -30.0 / 20.0), 10.0);
    withTail.insert(withTail.end(), quiet.begin(), quiet.end());
    withTail.resize(withTail.size() + 5 * kRate, 0.0f);
    EXPECT_NEAR(Synth::IntegratedLoudness(withTail.data(), withTail.data(), withTail.size(), kRate), reading, 0.1);

    // Near the floor the relative gate falls below the absolute one, and a block must pass both:
    // 10 s at -66 then 10 s at -75 read as the first part alone.
    auto nearFloor = Sine(997.0, std::pow(10.0, -66.0 / 20.0), 10.0);
    const double floorReading = Synth::IntegratedLoudness(nearFloor.data(), nearFloor.data(), nearFloor.size(), kRate);
    const auto belowFloor = Sine(997.0, std::pow(10.0, -75.0 / 20.0), 10.0);
    nearFloor.insert(nearFloor.end(), belowFloor.begin(), belowFloor.end());
    EXPECT_NEAR(Synth::IntegratedLoudness(nearFloor.data(), nearFloor.data(), nearFloor.size(), kRate), floorReading, 0.1);

    const std::vector<float> silence(kRate, 0.0f);
    EXPECT_EQ(Synth::IntegratedLoudness(silence.data(), silence.data(), silence.size(), kRate), Synth::kSilentLufs);
    EXPECT_EQ(Synth::IntegratedLoudness(tone.data(), tone.data(), kRate / 4, kRate), Synth::kSilentLufs)
        << "shorter than one 400 ms block";
}

TEST(Loudness, TruePeakFindsThePeakBetweenSamples) {
    // A quarter of the rate at 45 degrees: every sample lands at 0.707 of the crest, the crests
    // fall exactly between samples, on the 4x grid.
    // The tone fades in and out over 10 ms: a hard start would ring past the crest.
    auto x = Sine(kRate / 4.0, 0.5, 1.0, kPi / 4);
    const std::size_t fade = kRate / 100;
    for (std::size_t i = 0; i < fade; ++i) {
        const float ramp = float(0.5 - 0.5 * std::cos(kPi * double(i) / double(fade)));
        x[i] *= ramp;
        x[x.size() - 1 - i] *= ramp;
    }
    float samplePeak = 0;
    for (float v : x) samplePeak = std::max(samplePeak, std::fabs(v));
    EXPECT_NEAR(Synth::ToDb(samplePeak), -9.03, 0.01);
    EXPECT_NEAR(Synth::ToDb(Synth::TruePeak(x.data(), x.size())), -6.02, 0.05);

    // 16-bit PCM of the 997 Hz tone at -20 dBFS: both readings together.
    const auto tone = Sine(997.0, 0.1, 3.0);
    std::vector<std::int16_t> pcm;
    for (float v : tone) pcm.insert(pcm.end(), 2, std::int16_t(std::lrint(v * 32768.0f)));
    const auto reading = Synth::MeasureLoudness(pcm.data(), tone.size(), 2, kRate);
    EXPECT_NEAR(reading.truePeakDbtp, -20.0, 0.02);
    EXPECT_NEAR(reading.integratedLufs, -20.0, 0.05);
}
