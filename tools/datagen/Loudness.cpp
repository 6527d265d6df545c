// Loudness: BS.1770-4 integrated loudness and true peak. The K-weighting's two biquads are
// re-derived for the actual rate from their analogue prototypes (a high shelf of about +4 dB
// above 1.7 kHz for the head, and a second-order high-pass at 38 Hz), bilinear with prewarping,
// which reproduces the standard's 48 kHz coefficients exactly at 48 kHz.
#include "Loudness.h"

#include <algorithm>
#include <cmath>

namespace Synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;  // transposed direct form II
    double Tick(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// Stage 1, the head's acoustic effect: a high shelf.
Biquad ShelfStage(int rate) {
    constexpr double kF0 = 1681.974450955533, kGainDb = 3.999843853973347, kQ = 0.7071752369554196;
    const double k = std::tan(kPi * kF0 / rate);
    const double vh = std::pow(10.0, kGainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / kQ + k * k;
    return {(vh + vb * k / kQ + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / kQ + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / kQ + k * k) / a0};
}

// Stage 2, the RLB weighting: a high-pass whose numerator stays 1, -2, 1 as in the standard.
Biquad HighPassStage(int rate) {
    constexpr double kF0 = 38.13547087602444, kQ = 0.5003270373238773;
    const double k = std::tan(kPi * kF0 / rate);
    const double a0 = 1.0 + k / kQ + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / kQ + k * k) / a0};
}

constexpr double kBlockS = 0.4;           // gating block
constexpr int kStepsPerBlock = 4;         // 75 % overlap: a block every 100 ms
constexpr double kAbsoluteGateLufs = -70.0;
constexpr double kRelativeGateLu = -10.0;

double BlockLufs(double meanSquareSum) { return meanSquareSum > 0 ? -0.691 + 10.0 * std::log10(meanSquareSum) : kSilentLufs; }

// 4x interpolation for the true peak: windowed sinc, 2 x kHalfTaps taps per phase, Kaiser window.
constexpr int kOversample = 4;
constexpr int kHalfTaps = kTruePeakReach;
constexpr double kKaiserBeta = 7.0;

double BesselI0(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}

struct Interpolator {
    // taps[p - 1][j]: weight of sample n + j - kHalfTaps + 1 for the point n + p / 4.
    float taps[kOversample - 1][2 * kHalfTaps];
    Interpolator() {
        for (int p = 1; p < kOversample; ++p) {
            const double d = double(p) / kOversample;
            double sum = 0;
            double w[2 * kHalfTaps];
            for (int j = 0; j < 2 * kHalfTaps; ++j) {
                const double t = d - double(j - kHalfTaps + 1);  // distance from the sample
                const double r = t / kHalfTaps;
                const double window = std::fabs(r) < 1 ? BesselI0(kKaiserBeta * std::sqrt(1 - r * r)) / BesselI0(kKaiserBeta) : 0;
                w[j] = std::sin(kPi * t) / (kPi * t) * window;
                sum += w[j];
            }
            for (int j = 0; j < 2 * kHalfTaps; ++j) taps[p - 1][j] = float(w[j] / sum);  // unit gain at DC
        }
    }
};

const Interpolator& TheInterpolator() {
    static const Interpolator interpolator;
    return interpolator;
}

}  // namespace

double ToDb(double linear) { return linear > 0 ? 20.0 * std::log10(linear) : kSilentLufs; }
double FromDb(double db) { return std::pow(10.0, db / 20.0); }

double IntegratedLoudness(const float* left, const float* right, std::size_t frames, int rate) {
    if (!left || rate <= 0) return kSilentLufs;
    const std::size_t step = std::size_t(std::llround(kBlockS * rate / kStepsPerBlock));
    if (step == 0 || frames < step * kStepsPerBlock) return kSilentLufs;
    const std::size_t steps = frames / step;  // a trailing part step belongs to no whole block

    // Sum of both channels' K-weighted energy per step.
    std::vector<double> energy(steps, 0.0);
    for (const float* x : {left, right}) {
        if (!x) continue;
        Biquad shelf = ShelfStage(rate), highPass = HighPassStage(rate);
        for (std::size_t s = 0; s < steps; ++s) {
            double sum = 0;
            for (std::size_t i = s * step, end = i + step; i < end; ++i) {
                const double z = highPass.Tick(shelf.Tick(double(x[i])));
                sum += z * z;
            }
            energy[s] += sum;
        }
    }

    // Mean square of each block, then the two gates.
    const std::size_t blocks = steps - kStepsPerBlock + 1;
    std::vector<double> block(blocks);
    const double blockFrames = double(step * kStepsPerBlock);
    for (std::size_t b = 0; b < blocks; ++b) {
        double sum = 0;
        for (int k = 0; k < kStepsPerBlock; ++k) sum += energy[b + k];
        block[b] = sum / blockFrames;
    }
    auto gatedMean = [&](double gateLufs) {
        double sum = 0;
        std::size_t n = 0;
        for (double z : block)
            if (BlockLufs(z) > gateLufs) { sum += z; ++n; }
        return n ? sum / double(n) : 0.0;
    };
    const double absolute = gatedMean(kAbsoluteGateLufs);
    if (absolute <= 0) return kSilentLufs;
    // A block must pass both gates: on a quiet signal the relative gate lies below the absolute.
    return BlockLufs(gatedMean(std::max(kAbsoluteGateLufs, BlockLufs(absolute) + kRelativeGateLu)));
}

void TruePeakEnvelope(const float* samples, std::size_t frames, std::vector<float>& out) {
    out.assign(frames, 0.0f);
    if (!samples || !frames) return;
    // A padded copy keeps the filter loop free of bounds checks.
    std::vector<float> padded(frames + 2 * kHalfTaps, 0.0f);
    std::copy(samples, samples + frames, padded.begin() + kHalfTaps);
    const Interpolator& filter = TheInterpolator();
    for (std::size_t n = 0; n < frames; ++n) {
        const float* around = padded.data() + n + 1;  // sample n + j - kHalfTaps + 1 for tap j
        float peak = std::fabs(samples[n]);
        for (int p = 0; p < kOversample - 1; ++p) {
            float acc = 0;
            for (int j = 0; j < 2 * kHalfTaps; ++j) acc += filter.taps[p][j] * around[j];
            peak = std::max(peak, std::fabs(acc));
        }
        out[n] = peak;
    }
}

float TruePeak(const float* samples, std::size_t frames) {
    std::vector<float> envelope;
    TruePeakEnvelope(samples, frames, envelope);
    float peak = 0;
    for (float v : envelope) peak = std::max(peak, v);
    return peak;
}

LoudnessReading MeasureLoudness(const std::int16_t* pcm, std::size_t frames, int channels, int rate) {
    LoudnessReading reading;
    if (!pcm || channels < 1 || channels > 2) return reading;
    std::vector<float> split[2];
    for (int c = 0; c < channels; ++c) {
        split[c].resize(frames);
        for (std::size_t i = 0; i < frames; ++i) split[c][i] = float(pcm[i * channels + c]) * (1.0f / 32768.0f);
    }
    reading.integratedLufs =
        IntegratedLoudness(split[0].data(), channels == 2 ? split[1].data() : nullptr, frames, rate);
    float peak = 0;
    for (int c = 0; c < channels; ++c) peak = std::max(peak, TruePeak(split[c].data(), frames));
    reading.truePeakDbtp = ToDb(peak);
    return reading;
}

}  // namespace Synth
