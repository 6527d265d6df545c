// AudioDevice: the one sound output every music stream plays through. A mixer sums the playing
// voices into the device buffer on the audio thread; the main thread only flips voice state under
// the device lock. The platform device (SDL audio) sits behind cAudioOutput so tests can drive
// the mixer by hand.
#pragma once

#include <cstdint>
#include <string>

namespace VantorGL {

// One stream the mixer can play: interleaved stereo PCM at the device rate, owned by its player
// and alive for as long as the voice is attached. `mixed` and the mix stamps are written by the
// mixer; everything is read and changed under the device lock.
struct cAudioVoice {
    const std::int16_t* samples = nullptr;
    std::int64_t frames = 0;
    bool playing = false;
    bool loop = false;
    // Device frames handed out since Play, silence after a one-shot voice's end included: the
    // voice's own clock. Frame f of the stream is `f` for one shot, `f % frames` when looping.
    std::int64_t mixed = 0;
    std::int64_t lastMixNs = 0;  // steady-clock time of the last buffer this voice was mixed into
    int lastMixFrames = 0;       // that buffer's size in frames; 0 = not mixed since Play
    int state = 0;               // the device's bookkeeping (cAudioDevice), 0 = not attached
};

// Sums voices into a stereo buffer. Pure logic with fixed storage; the caller provides locking.
class cAudioMixer {
public:
    static constexpr int kMaxVoices = 8;

    bool Add(cAudioVoice* voice);  // false when the table is full or the voice is already there
    void Remove(cAudioVoice* voice);
    int Count() const { return count; }

    // Contract: overwrites out[0 .. frames*2) with the saturated sum of every playing voice at its
    // own position, then advances each playing voice by `frames` and stamps it with mixTimeNs.
    // A looping voice wraps; a one-shot voice past its end adds silence. Allocates nothing.
    void Mix(std::int16_t* out, int frames, std::int64_t mixTimeNs);

private:
    cAudioVoice* voices[kMaxVoices] = {};
    int count = 0;
};

// The platform seam: a device that pulls a mixer from its own thread.
class cAudioOutput {
public:
    virtual ~cAudioOutput() = default;
    // Opens the default device at 44100 Hz, signed 16-bit stereo, and starts calling mixer.Mix
    // from the audio thread. False with a reason in `error` when there is no usable device.
    virtual bool Start(cAudioMixer& mixer, std::string& error) = 0;
    // Closes the device; when it returns no Mix call runs or will run.
    virtual void Stop() = 0;
    virtual void Lock() = 0;  // holds off Mix until Unlock
    virtual void Unlock() = 0;
    // Frames between the mixer and the listener: the device buffer the mixer just filled.
    virtual int LatencyFrames() const = 0;
};

// SDL2 audio: SDL_OpenAudioDevice with a callback, opened once, 1024-frame buffer.
class cSdlAudioOutput final : public cAudioOutput {
public:
    bool Start(cAudioMixer& mixer, std::string& error) override;
    void Stop() override;
    void Lock() override;
    void Unlock() override;
    int LatencyFrames() const override { return latency; }

private:
    static void Callback(void* self, std::uint8_t* stream, int bytes);
    cAudioMixer* mixer = nullptr;
    std::uint32_t device = 0;
    int latency = 0;
};

// The shared output device. The platform has one default sound device, so this is the one place
// where music streams meet: the first attached voice opens it, the last detached one closes it.
// Called from the main thread only; the audio thread touches nothing but the mixer and voices.
class cAudioDevice {
public:
    static constexpr int kRate = 44100;         // frames per second
    static constexpr int kChannels = 2;         // stereo
    static constexpr int kBufferFrames = 1024;  // about 23 ms per device buffer

    static cAudioDevice* Shared();

    // Replaces the platform output (not owned; nullptr = SDL). Takes effect when the device is
    // next opened, so call it while nothing is attached. For tests.
    void UseOutput(cAudioOutput* output);

    // Contract: registers the voice with the mixer, opening the output if it is the first.
    // Without a device the voice is recorded as silent, false is returned and one line
    // "MUSIC: no audio device: <reason>; playing silently" goes to stderr; further attaches fail
    // quietly until every voice of that silent spell has been detached. Detach undoes either.
    bool Attach(cAudioVoice* voice);
    void Detach(cAudioVoice* voice);

    // Start the voice from stream frame `fromFrame` (its first frame by default; loop as given) /
    // silence it. No-ops when not attached.
    void Play(cAudioVoice* voice, bool loop, std::int64_t fromFrame = 0);
    void Stop(cAudioVoice* voice);
    // The voice's own clock (cAudioVoice::mixed): where the mixer will take its next frame from.
    // 0 when not attached.
    std::int64_t MixedFrames(const cAudioVoice* voice);

    // Frame of the voice's own clock (see cAudioVoice::mixed) that the listener hears at steady
    // time nowNs: frames mixed minus the device latency, plus the time since that buffer was
    // mixed (at most one buffer, so it never runs ahead of the mixer). Negative before the first
    // sound arrives. False when the voice is not attached or not playing.
    bool AudibleFrame(const cAudioVoice* voice, std::int64_t nowNs, std::int64_t& frame);

    int Users() const { return users; }  // voices attached to an open device
    bool IsOpen() const { return users > 0; }

    static std::int64_t SteadyNowNs();

private:
    cAudioDevice() = default;

    cAudioMixer mixer;
    cSdlAudioOutput sdl;
    cAudioOutput* replacement = nullptr;
    cAudioOutput* output = nullptr;  // the open one, while users > 0
    int users = 0;
    int silentUsers = 0;
};

}  // namespace VantorGL
