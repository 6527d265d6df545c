// cStudioScope: what the overlay's spectrum plot shows of the last seconds of demo time: bins 0
// and 15 of each frame made, and the beats the scenes took, in rings sized at construction.
#pragma once

namespace QuenliteStudio {

struct sScopeSample {
    int ms = 0;  // demo time of the frame
    float bin0 = 0, bin15 = 0;
};

struct sScopeBeat {
    int ms = 0;
    int watch = 0;  // which scene took it (the studio's beat watch index)
};

class cStudioScope {
public:
    static constexpr int kSamples = 2048;  // 8.5 s at 240 frames a second
    static constexpr int kBeats = 256;

    // Forgets everything (after a replay: the time before is not this play's).
    void Clear() { sampleCount = beatCount = 0; }
    void AddSample(int ms, float bin0, float bin15);
    void AddBeat(int ms, int watch);

    // Oldest first; only the last kSamples / kBeats are kept.
    int Samples() const { return sampleCount; }
    const sScopeSample& Sample(int i) const { return samples[(sampleNext - sampleCount + i + kSamples) % kSamples]; }
    int Beats() const { return beatCount; }
    const sScopeBeat& Beat(int i) const { return beats[(beatNext - beatCount + i + kBeats) % kBeats]; }

private:
    sScopeSample samples[kSamples];
    sScopeBeat beats[kBeats];
    int sampleNext = 0, sampleCount = 0;
    int beatNext = 0, beatCount = 0;
};

}  // namespace QuenliteStudio
