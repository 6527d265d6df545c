// FrequencyAnalyser: the 512-sample FFT magnitudes the scenes react to, computed from PCM samples.
// cMusicSystem feeds it the samples at the audible position each frame; the data tools feed it
// the generated soundtrack offline, so both see exactly the same numbers.
#pragma once

#include <cstdint>

struct kiss_fftr_state;

namespace VantorGL {

class cFrequencyAnalyser {
public:
    static constexpr int kWindow = 512;  // samples per analysis (the "512-sample FFT")
    static constexpr int kBins = 256;    // magnitudes produced, bin 0 lowest

    cFrequencyAnalyser();
    ~cFrequencyAnalyser();
    cFrequencyAnalyser(const cFrequencyAnalyser&) = delete;
    cFrequencyAnalyser& operator=(const cFrequencyAnalyser&) = delete;

    // Contract: `frames` points at kWindow frames of interleaved 16-bit PCM with `channels`
    // channels (1 or 2). The channels are averaged to mono, a Hann window is applied, a real FFT
    // of 512 points is taken and out[k] = 2 * |X_k| / 512 for k = 0..255. A full-scale sine
    // centred on bin k reads about 0.5 there; bin k is k * rate / 512 Hz. Allocates nothing.
    void Analyse(const std::int16_t* frames, int channels, float out[kBins]);

private:
    kiss_fftr_state* config = nullptr;
    float window[kWindow];
    float mono[kWindow];
    struct Cpx { float r, i; } bins[kWindow / 2 + 1];
};

}  // namespace VantorGL
