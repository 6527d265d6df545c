// cStudioVoice: the soundtrack's own voice on the shared audio device. The sequencer's player is
// silent under the studio's counter, so the studio plays the decoded music through this voice,
// started at a chosen sample whenever the picture jumps and stopped while it does not play.
#pragma once

#include "assets/AudioDevice.h"
#include "assets/Mp3Decoder.h"

#include <cstdint>

namespace QuenliteStudio {

class cStudioVoice {
public:
    // Attaches the voice to the shared device with `music` (kept by pointer; it must outlive the
    // voice's use). False where there is no music or no device: the voice then stays silent.
    bool Attach(const VantorGL::cPcmBuffer& music);
    // Stops and detaches the voice.
    void Detach();
    // Plays from stream frame `fromFrame` when `wanted` and not playing yet, or when `jumped`
    // (the picture did not follow on); stops when not `wanted`. Nothing when not attached.
    void Follow(bool wanted, bool jumped, std::int64_t fromFrame);
    // Silences the voice, attached or not.
    void Stop();

    bool Attached() const { return attached; }
    bool Playing() const { return playing; }
    // The voice's own clock: the next stream frame the mixer takes; -1 when not attached.
    long long MixedFrames();

private:
    VantorGL::cAudioVoice voice;
    bool attached = false;
    bool playing = false;
};

}  // namespace QuenliteStudio
