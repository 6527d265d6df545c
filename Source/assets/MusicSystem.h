// cMusicSystem: one MP3 file played through the shared audio device, and the 256-bin spectrum
// of what the listener hears, refreshed once per frame for the scenes. Two exist in the demo:
// the looping loading tune and the soundtrack.
#pragma once

#include "assets/AudioDevice.h"
#include "assets/Mp3Decoder.h"
#include "assets/FrequencyAnalyser.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VantorGL {

// Contract: fills out[0..255] with the spectrum of the kWindow frames of `pcm` that start at
// `frame`. Frames before 0 are silence; frames past the end are silence, or wrap to the start
// when `loop` is set. `scratch` holds at least kWindow * pcm.channels samples. Allocates nothing.
// The player and the offline tools both use it, so they see the same numbers.
void AnalysePcmAt(const cPcmBuffer& pcm, std::int64_t frame, bool loop, cFrequencyAnalyser& analyser,
                  std::int16_t* scratch, float out[cFrequencyAnalyser::kBins]);

class cMusicSystem {
public:
    static constexpr int kSpectrumSize = 512;  // entries of `spectrum`; only the first 256 are written

    cMusicSystem() = default;
    ~cMusicSystem();  // Stop, then release the stream and this player's share of the device
    cMusicSystem(const cMusicSystem&) = delete;
    cMusicSystem& operator=(const cMusicSystem&) = delete;

    void SetFile(const std::string& name) { fileName = name; }
    void SetLoop(bool on) { loop = on; }

    // Contract: decodes the whole of `fileName` (through ResolveDataPath) to 44100 Hz stereo
    // 16-bit PCM and attaches to the shared output device. `window` is kept but unused.
    // Under the fixed-step clock no device is opened: capture runs without sound.
    // Bad file: one "MUSIC: <file>: <reason>" line, the player stays silent with a flat spectrum.
    // A file cut short or damaged but still decodable plays what it holds, after one line saying so.
    // No device: the device says so once; the music plays silently. Returns whether the file
    // decoded (a player without a stream ignores every later call).
    bool Open(void* window = nullptr);
    // Open in two halves, for a loader that decodes on a worker thread while it loads the rest.
    // Decode does Open's file work and touches nothing but this player's pending stream (what it
    // would say is kept, not printed), so it may run on any one thread while the player is in use
    // elsewhere. Attach, on the thread that owns the player, says what Decode kept, then takes the
    // stream and attaches exactly as Open does, and returns what Open returns. Open() is
    // Decode() then Attach(window).
    void Decode();
    bool Attach(void* window = nullptr);

    // Decodes `fileName` again and, when it decodes whole, takes it in place of the stream and
    // attaches as Open does (stopped: the owner plays it again from where it wants). A file that
    // does not decode, or decodes only in part, leaves the stream, its place and its playing as
    // they were, after the one MUSIC line Open prints (a part ending "; the previous music
    // stays"). Returns whether the new stream is in. Whoever holds Stream() lets go first.
    bool Reload();

    // Plays from the first frame, repeating endlessly when `loop` is set. The fixed-step clock's
    // Now() at this call is the music's time zero. Returns whether there is a stream to play.
    bool Play();
    bool Stop();

    // Contract: refreshes spectrum[0..255] from the 512 frames at the audible position; 256..511
    // are never written and stay 0. Audible position: under the fixed-step clock the frame's own
    // time, (Now() - Now() at Play) * 44100 / 1000; otherwise where the device has got to.
    // Stopped, not yet started, or past the end of a one-shot stream: zeros (silence). Without a
    // stream, or without a device in real time, the previous values stay. Allocates nothing.
    void AnalyseSpectrum();

    // Entry i of the last spectrum; 0 for an index outside 0..511.
    float SpectrumValue(int i) const { return i >= 0 && i < kSpectrumSize ? spectrum[i] : 0.0f; }

    // The decoded stream (empty before Open or when the file was unusable).
    const cPcmBuffer& Stream() const { return stream; }
    bool IsPlaying() const { return playing; }
    void* Window() const { return window; }  // as given to Open; the output needs no window

    std::string fileName = "data/music/music.mp3";  // replaced by every user before Open
    float spectrum[kSpectrumSize] = {};
    bool loop = false;  // Play repeats the stream endlessly when set

private:
    void Release();

    cPcmBuffer stream;  // the whole file, 44100 Hz stereo; empty = no stream
    // Decode's result, until Attach takes it: the stream, whether it decoded, what to say.
    cPcmBuffer pending;
    bool pendingDecoded = false;
    std::vector<std::string> pendingLines;
    void* window = nullptr;
    enum class eOutput { None, Device, Silent, Offline };
    eOutput output = eOutput::None;
    cAudioVoice voice;
    bool playing = false;
    int playStartMs = 0;  // clock Now() at Play
    cFrequencyAnalyser analyser;
    std::int16_t scratch[cFrequencyAnalyser::kWindow * cAudioDevice::kChannels] = {};
};

}  // namespace VantorGL
