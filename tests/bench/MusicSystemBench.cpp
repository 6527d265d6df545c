// Benchmarks for the music path: the per-frame spectrum read and the audio-thread mix.
#include "assets/AudioDevice.h"
#include "assets/MusicSystem.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace VantorGL;

static cPcmBuffer MakeStereoTone(int seconds) {
    cPcmBuffer pcm;
    pcm.rate = cAudioDevice::kRate;
    pcm.channels = 2;
    for (int n = 0; n < seconds * pcm.rate; ++n) {
        const auto v = std::int16_t(16000 * std::sin(2.0 * M_PI * 440.0 * n / pcm.rate));
        pcm.samples.push_back(v);
        pcm.samples.push_back(v);
    }
    return pcm;
}

// What cMusicSystem::AnalyseSpectrum costs each frame once the position is known.
static void BM_AnalysePcmAt(benchmark::State& state) {
    const cPcmBuffer pcm = MakeStereoTone(2);
    cFrequencyAnalyser analyser;
    std::int16_t scratch[cFrequencyAnalyser::kWindow * 2];
    float out[cFrequencyAnalyser::kBins];
    std::int64_t frame = 0;
    for (auto _ : state) {
        AnalysePcmAt(pcm, frame, true, analyser, scratch, out);
        benchmark::DoNotOptimize(out);
        frame += 735;  // one 60 fps frame of audio
    }
}
BENCHMARK(BM_AnalysePcmAt);

// One 1024-frame device buffer with the two demo streams playing (the loading overlap).
static void BM_MixTwoVoices(benchmark::State& state) {
    const cPcmBuffer pcm = MakeStereoTone(2);
    cAudioVoice a, b;
    for (cAudioVoice* v : {&a, &b}) {
        v->samples = pcm.samples.data();
        v->frames = pcm.Frames();
        v->playing = v->loop = true;
    }
    cAudioMixer mixer;
    mixer.Add(&a);
    mixer.Add(&b);
    std::int16_t out[cAudioDevice::kBufferFrames * 2];
    for (auto _ : state) {
        mixer.Mix(out, cAudioDevice::kBufferFrames, 0);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_MixTwoVoices);
