// Loudness: the meter a release is judged by (ITU-R BS.1770-4, EBU R128): gated integrated
// loudness of the K-weighted signal, and true peak found by 4x oversampling. The soundtrack's
// master stage and the tests read the music through the same code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Synth {

// What the soundtrack is mastered to: "about -14 LUFS integrated, true peak at or below -1 dBTP".
constexpr double kReleaseLoudnessLufs = -14.0;
constexpr double kReleaseTruePeakDbtp = -1.0;

// The reading of a silent (or wholly gated) signal.
constexpr double kSilentLufs = -200.0;

// Integrated loudness in LUFS of one or two channels (`right` may be null for mono) of `frames`
// float samples at `rate` Hz, full scale 1.0: K-weighting, 400 ms blocks every 100 ms, the
// absolute gate at -70 LUFS and the relative gate 10 LU below the absolutely gated level. Left
// and right weigh 1 each. Returns kSilentLufs when no block passes the gates (or the signal is
// shorter than one block).
double IntegratedLoudness(const float* left, const float* right, std::size_t frames, int rate);

// True-peak envelope of one channel: out[i] is the largest magnitude of the signal reconstructed
// at 4x the sample rate over [i, i + 1) (sample i and the three points after it), read from the
// samples within kTruePeakReach frames of i. Samples outside the buffer count as silence. `out`
// gets `frames` entries.
constexpr int kTruePeakReach = 16;
void TruePeakEnvelope(const float* samples, std::size_t frames, std::vector<float>& out);

// Largest true-peak magnitude of one channel (linear, 1.0 = full scale).
float TruePeak(const float* samples, std::size_t frames);

// Decibels of a linear magnitude, and back; 0 reads as kSilentLufs.
double ToDb(double linear);
double FromDb(double db);

struct LoudnessReading {
    double integratedLufs = kSilentLufs;
    double truePeakDbtp = kSilentLufs;
};

// Both readings of interleaved 16-bit PCM (`channels` 1 or 2, full scale 32768), as a meter reads
// a decoded file.
LoudnessReading MeasureLoudness(const std::int16_t* pcm, std::size_t frames, int channels, int rate);

}  // namespace Synth
