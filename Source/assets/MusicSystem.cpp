// cMusicSystem: whole-file MP3 decoding up front, playback through the shared device, and the
// per-frame spectrum at the audible position.
#include "assets/MusicSystem.h"

#include "assets/DataPath.h"
#include "shell/Console.h"
#include "timeline/TimeSystem.h"

#include <cstring>

namespace VantorGL {

namespace {

// How the line about a damaged but decodable file ends at a first load.
constexpr const char* kPlayingWhatThereIs = "; playing what there is";

}  // namespace

void AnalysePcmAt(const cPcmBuffer& pcm, std::int64_t frame, bool loop, cFrequencyAnalyser& analyser,
                  std::int16_t* scratch, float out[cFrequencyAnalyser::kBins]) {
    const int channels = pcm.channels;
    const std::int64_t length = pcm.Frames();
    for (int n = 0; n < cFrequencyAnalyser::kWindow; ++n) {
        std::int64_t source = frame + n;
        if (source >= length && loop && length > 0) source %= length;
        std::int16_t* dst = scratch + n * channels;
        if (source < 0 || source >= length)
            std::memset(dst, 0, sizeof(std::int16_t) * std::size_t(channels));
        else
            std::memcpy(dst, pcm.samples.data() + source * channels, sizeof(std::int16_t) * std::size_t(channels));
    }
    analyser.Analyse(scratch, channels, out);
}

cMusicSystem::~cMusicSystem() {
    Stop();
    Release();
}

void cMusicSystem::Release() {
    if (output == eOutput::Device || output == eOutput::Silent) cAudioDevice::Shared()->Detach(&voice);
    output = eOutput::None;
    playing = false;
    voice = cAudioVoice{};
    stream = cPcmBuffer{};
}

bool cMusicSystem::Open(void* ownerWindow) {
    Decode();
    return Attach(ownerWindow);
}

void cMusicSystem::Decode() {
    pending = cPcmBuffer{};
    pendingDecoded = false;
    pendingLines.clear();
    const std::string path = ResolveDataPath(fileName);
    if (path.empty()) {
        pendingLines.push_back(fileName + ": path longer than " + std::to_string(kMaxDataPath) + " characters");
        return;
    }
    std::string error, note;
    if (!DecodeMp3File(path, pending, error, cAudioDevice::kRate, cAudioDevice::kChannels, &note)) {
        pendingLines.push_back(fileName + ": " + error);
        return;
    }
    // A damaged stream that still decodes plays what it has (silence after it) and says so.
    if (!note.empty()) pendingLines.push_back(fileName + ": " + note + kPlayingWhatThereIs);
    pendingDecoded = true;
}

bool cMusicSystem::Attach(void* ownerWindow) {
    window = ownerWindow;
    Release();  // a second Open replaces the stream
    for (const std::string& line : pendingLines) ConsolePrint("MUSIC", "%s", line.c_str());
    pendingLines.clear();
    if (!pendingDecoded) return false;
    pendingDecoded = false;
    stream = std::move(pending);
    pending = cPcmBuffer{};
    if (stream.rate != cAudioDevice::kRate || stream.channels != cAudioDevice::kChannels) {
        ConsolePrint("MUSIC", "%s: cannot convert %d Hz, %d channels to %d Hz stereo", fileName.c_str(),
                     stream.rate, stream.channels, cAudioDevice::kRate);
        stream = cPcmBuffer{};
        return false;
    }

    voice.samples = stream.samples.data();
    voice.frames = stream.Frames();
    if (cTimeSystem::Instance()->IsFixedStep())
        output = eOutput::Offline;  // frames are made, not heard: nothing to open
    else
        output = cAudioDevice::Shared()->Attach(&voice) ? eOutput::Device : eOutput::Silent;
    return true;
}

bool cMusicSystem::Reload() {
    Decode();
    if (pendingDecoded && pendingLines.empty()) return Attach(window);
    // Refused, or decoded only in part (most often a file still being written): the stream stays.
    for (std::string line : pendingLines) {
        if (pendingDecoded && line.ends_with(kPlayingWhatThereIs))
            line.replace(line.size() - std::strlen(kPlayingWhatThereIs), std::string::npos, "; the previous music stays");
        ConsolePrint("MUSIC", "%s", line.c_str());
    }
    pendingLines.clear();
    pendingDecoded = false;
    pending = cPcmBuffer{};
    return false;
}

bool cMusicSystem::Play() {
    if (output == eOutput::None) return false;
    playing = true;
    playStartMs = cTimeSystem::Instance()->Now();
    if (output == eOutput::Device) cAudioDevice::Shared()->Play(&voice, loop);
    return true;
}

bool cMusicSystem::Stop() {
    if (output == eOutput::None) return false;
    playing = false;
    if (output == eOutput::Device) cAudioDevice::Shared()->Stop(&voice);
    return true;
}

void cMusicSystem::AnalyseSpectrum() {
    if (output == eOutput::None) return;
    std::int64_t frame = 0;
    bool audible = playing;
    if (cTimeSystem::Instance()->IsFixedStep()) {
        // Differences of the 32-bit millisecond clock stay right across its wrap.
        const int elapsedMs = int(std::uint32_t(cTimeSystem::Instance()->Now()) - std::uint32_t(playStartMs));
        frame = std::int64_t(elapsedMs) * cAudioDevice::kRate / 1000;
    } else if (output == eOutput::Device) {
        audible = cAudioDevice::Shared()->AudibleFrame(&voice, cAudioDevice::SteadyNowNs(), frame);
    } else {
        return;  // no device, or opened for capture and now in real time: nothing is heard
    }
    if (!audible) {
        std::memset(spectrum, 0, sizeof(float) * cFrequencyAnalyser::kBins);
        return;
    }
    AnalysePcmAt(stream, frame, loop, analyser, scratch, spectrum);
}

}  // namespace VantorGL
