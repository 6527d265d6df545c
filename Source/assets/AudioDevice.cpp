// AudioDevice: the shared SDL audio output and the mixer that feeds it.
#include "assets/AudioDevice.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace VantorGL {

namespace {
constexpr int kDetached = 0;
constexpr int kAttached = 1;  // in the mixer of an open device
constexpr int kSilent = 2;    // no device: the voice exists but nothing hears it
}  // namespace

// --- cAudioMixer ---------------------------------------------------------------------------------

bool cAudioMixer::Add(cAudioVoice* voice) {
    if (count == kMaxVoices) return false;
    for (int i = 0; i < count; ++i)
        if (voices[i] == voice) return false;
    voices[count++] = voice;
    return true;
}

void cAudioMixer::Remove(cAudioVoice* voice) {
    for (int i = 0; i < count; ++i) {
        if (voices[i] != voice) continue;
        voices[i] = voices[--count];
        voices[count] = nullptr;
        return;
    }
}

void cAudioMixer::Mix(std::int16_t* out, int frames, std::int64_t mixTimeNs) {
    if (frames <= 0) return;
    std::memset(out, 0, std::size_t(frames) * cAudioDevice::kChannels * sizeof(std::int16_t));
    for (int v = 0; v < count; ++v) {
        cAudioVoice& voice = *voices[v];
        if (!voice.playing) continue;
        if (voice.samples && voice.frames > 0) {
            int done = 0;
            while (done < frames) {
                const std::int64_t position = voice.mixed + done;
                if (!voice.loop && position >= voice.frames) break;  // past the end: silence
                const std::int64_t source = voice.loop ? position % voice.frames : position;
                const int run = int(std::min<std::int64_t>(frames - done, voice.frames - source));
                const std::int16_t* in = voice.samples + source * cAudioDevice::kChannels;
                std::int16_t* dst = out + std::int64_t(done) * cAudioDevice::kChannels;
                for (int s = 0; s < run * cAudioDevice::kChannels; ++s)
                    dst[s] = std::int16_t(std::clamp(int(dst[s]) + int(in[s]), -32768, 32767));
                done += run;
            }
        }
        voice.mixed += frames;
        voice.lastMixNs = mixTimeNs;
        voice.lastMixFrames = frames;
    }
}

// --- cSdlAudioOutput -----------------------------------------------------------------------------

bool cSdlAudioOutput::Start(cAudioMixer& target, std::string& error) {
    QuietSoundSystem();  // the MUSIC line already says what the viewer needs
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    mixer = &target;
    SDL_AudioSpec want{};
    want.freq = cAudioDevice::kRate;
    want.format = AUDIO_S16SYS;
    want.channels = cAudioDevice::kChannels;
    want.samples = cAudioDevice::kBufferFrames;
    want.callback = &cSdlAudioOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware wants behind the callback.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mixer = nullptr;
        return false;
    }
    latency = have.samples > 0 ? have.samples : cAudioDevice::kBufferFrames;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void cSdlAudioOutput::Stop() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);  // waits for the callback thread to finish
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device = 0;
    mixer = nullptr;
}

void cSdlAudioOutput::Lock() {
    if (device) SDL_LockAudioDevice(device);
}

void cSdlAudioOutput::Unlock() {
    if (device) SDL_UnlockAudioDevice(device);
}

// The audio thread: SDL holds the device lock around this call.
void cSdlAudioOutput::Callback(void* self, std::uint8_t* stream, int bytes) {
    auto* output = static_cast<cSdlAudioOutput*>(self);
    const int frames = bytes / int(cAudioDevice::kChannels * sizeof(std::int16_t));
    output->mixer->Mix(reinterpret_cast<std::int16_t*>(stream), frames, cAudioDevice::SteadyNowNs());
}

// --- cAudioDevice --------------------------------------------------------------------------------

cAudioDevice* cAudioDevice::Shared() {
    // Never destroyed: players held by static objects detach during static destruction, in an
    // order nothing controls, and must still find the device.
    static cAudioDevice* device = new cAudioDevice();
    return device;
}

std::int64_t cAudioDevice::SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void cAudioDevice::UseOutput(cAudioOutput* replacementOutput) { replacement = replacementOutput; }

bool cAudioDevice::Attach(cAudioVoice* voice) {
    if (voice->state != kDetached) return voice->state == kAttached;
    if (users == 0) {
        // One failure is reported once: the voices that come after it in the same spell stay
        // silent without asking the platform again.
        if (silentUsers > 0) {
            voice->state = kSilent;
            ++silentUsers;
            return false;
        }
        cAudioOutput* candidate = replacement ? replacement : &sdl;
        std::string error;
        if (!candidate->Start(mixer, error)) {
            ConsolePrint("MUSIC", "no audio device: %s; playing silently", error.c_str());
            voice->state = kSilent;
            ++silentUsers;
            return false;
        }
        output = candidate;
    }
    output->Lock();
    const bool added = mixer.Add(voice);
    output->Unlock();
    if (!added) {
        ConsolePrint("MUSIC", "more than %d streams at once; playing silently", cAudioMixer::kMaxVoices);
        voice->state = kSilent;
        ++silentUsers;
        if (users == 0) {
            output->Stop();
            output = nullptr;
        }
        return false;
    }
    voice->state = kAttached;
    ++users;
    return true;
}

void cAudioDevice::Detach(cAudioVoice* voice) {
    if (voice->state == kAttached) {
        output->Lock();
        mixer.Remove(voice);
        voice->playing = false;
        output->Unlock();
        if (--users == 0) {
            output->Stop();
            output = nullptr;
        }
    } else if (voice->state == kSilent) {
        --silentUsers;
    }
    voice->state = kDetached;
}

void cAudioDevice::Play(cAudioVoice* voice, bool loop, std::int64_t fromFrame) {
    if (voice->state != kAttached) return;
    output->Lock();
    voice->loop = loop;
    voice->mixed = fromFrame > 0 ? fromFrame : 0;
    voice->lastMixNs = 0;
    voice->lastMixFrames = 0;
    voice->playing = true;
    output->Unlock();
}

void cAudioDevice::Stop(cAudioVoice* voice) {
    if (voice->state != kAttached) return;
    output->Lock();
    voice->playing = false;
    output->Unlock();
}

std::int64_t cAudioDevice::MixedFrames(const cAudioVoice* voice) {
    if (voice->state != kAttached) return 0;
    output->Lock();
    const std::int64_t mixed = voice->mixed;
    output->Unlock();
    return mixed;
}

bool cAudioDevice::AudibleFrame(const cAudioVoice* voice, std::int64_t nowNs, std::int64_t& frame) {
    if (voice->state != kAttached) return false;
    output->Lock();
    const bool playing = voice->playing;
    const std::int64_t mixed = voice->mixed;
    const std::int64_t lastMixNs = voice->lastMixNs;
    const int lastMixFrames = voice->lastMixFrames;
    output->Unlock();
    if (!playing) return false;
    frame = mixed - output->LatencyFrames();
    if (lastMixFrames > 0) {
        const std::int64_t gapNs = std::clamp<std::int64_t>(nowNs - lastMixNs, 0, 1000000000);
        const std::int64_t since = gapNs * kRate / 1000000000;
        frame += std::min<std::int64_t>(since, lastMixFrames);
    }
    return true;
}

}  // namespace VantorGL
