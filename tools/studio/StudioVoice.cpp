// cStudioVoice: the studio's soundtrack voice on the shared audio device.
#include "StudioVoice.h"

namespace QuenliteStudio {

bool cStudioVoice::Attach(const VantorGL::cPcmBuffer& music) {
    if (music.Frames() <= 0) return false;
    voice.samples = music.samples.data();
    voice.frames = music.Frames();
    attached = VantorGL::cAudioDevice::Shared()->Attach(&voice);
    return attached;
}

void cStudioVoice::Detach() {
    if (attached) VantorGL::cAudioDevice::Shared()->Detach(&voice);
    attached = playing = false;
}

void cStudioVoice::Follow(bool wanted, bool jumped, std::int64_t fromFrame) {
    if (!attached) return;
    VantorGL::cAudioDevice* device = VantorGL::cAudioDevice::Shared();
    if (wanted && (!playing || jumped)) {
        device->Play(&voice, false, fromFrame);
        playing = true;
    } else if (!wanted && playing) {
        device->Stop(&voice);
        playing = false;
    }
}

void cStudioVoice::Stop() {
    if (playing) VantorGL::cAudioDevice::Shared()->Stop(&voice);
    playing = false;
}

long long cStudioVoice::MixedFrames() {
    return attached ? (long long)VantorGL::cAudioDevice::Shared()->MixedFrames(&voice) : -1;
}

}  // namespace QuenliteStudio
