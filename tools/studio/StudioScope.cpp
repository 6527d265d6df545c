// cStudioScope: the spectrum plot's rings.
#include "StudioScope.h"

namespace QuenliteStudio {

void cStudioScope::AddSample(int ms, float bin0, float bin15) {
    samples[sampleNext] = {ms, bin0, bin15};
    sampleNext = (sampleNext + 1) % kSamples;
    if (sampleCount < kSamples) ++sampleCount;
}

void cStudioScope::AddBeat(int ms, int watch) {
    beats[beatNext] = {ms, watch};
    beatNext = (beatNext + 1) % kBeats;
    if (beatCount < kBeats) ++beatCount;
}

}  // namespace QuenliteStudio
