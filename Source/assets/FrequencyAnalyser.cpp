// FrequencyAnalyser: Hann-windowed 512-point real FFT magnitudes over kissfft.
#include "assets/FrequencyAnalyser.h"

#include <kiss_fftr.h>

#include <cmath>

namespace VantorGL {

static_assert(sizeof(kiss_fft_cpx) == sizeof(float) * 2, "kissfft must be built for float");

cFrequencyAnalyser::cFrequencyAnalyser() {
    config = kiss_fftr_alloc(kWindow, 0, nullptr, nullptr);
    for (int n = 0; n < kWindow; ++n)
        window[n] = 0.5f - 0.5f * std::cos(2.0f * float(M_PI) * float(n) / float(kWindow - 1));
}

cFrequencyAnalyser::~cFrequencyAnalyser() { kiss_fftr_free(config); }

void cFrequencyAnalyser::Analyse(const std::int16_t* frames, int channels, float out[kBins]) {
    const float scale = 1.0f / (32768.0f * float(channels));
    for (int n = 0; n < kWindow; ++n) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) sum += frames[n * channels + c];
        mono[n] = float(sum) * scale * window[n];
    }
    kiss_fftr(config, mono, reinterpret_cast<kiss_fft_cpx*>(bins));
    // The Hann window halves a sine's peak, so 2|X|/N gives about 0.5 for full scale: the same
    // reading the demo's original audio library reported.
    for (int k = 0; k < kBins; ++k)
        out[k] = 2.0f * std::sqrt(bins[k].r * bins[k].r + bins[k].i * bins[k].i) / float(kWindow);
}

}  // namespace VantorGL
