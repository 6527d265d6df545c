// WavWriter: RIFF/WAVE header and little-endian 16-bit samples, written in blocks.
#include "WavWriter.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kHeaderBytes = 44;
constexpr int kBitsPerSample = 16;

void PutLe(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = std::uint8_t(value >> (8 * i));
}

}  // namespace

bool WriteWavSpan(const std::string& path, const VantorGL::cPcmBuffer& pcm, std::int64_t first, std::int64_t frames) {
    const int channels = pcm.channels > 0 ? pcm.channels : 2;
    const int rate = pcm.rate > 0 ? pcm.rate : 44100;
    const int frameBytes = channels * kBitsPerSample / 8;
    if (frames < 0) frames = 0;
    const std::uint64_t dataBytes = std::uint64_t(frames) * std::uint64_t(frameBytes);
    if (dataBytes + kHeaderBytes - 8 > 0xFFFFFFFFull) {
        VantorGL::ConsolePrint("CAPTURE", "%s: too long for a WAV file", path.c_str());
        return false;
    }

    std::uint8_t header[kHeaderBytes] = {};
    std::memcpy(header, "RIFF", 4);
    PutLe(header + 4, std::uint32_t(dataBytes + kHeaderBytes - 8), 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLe(header + 16, 16, 4);  // size of the fmt chunk
    PutLe(header + 20, 1, 2);   // PCM
    PutLe(header + 22, std::uint32_t(channels), 2);
    PutLe(header + 24, std::uint32_t(rate), 4);
    PutLe(header + 28, std::uint32_t(rate * frameBytes), 4);  // bytes per second
    PutLe(header + 32, std::uint32_t(frameBytes), 2);         // block align
    PutLe(header + 34, kBitsPerSample, 2);
    std::memcpy(header + 36, "data", 4);
    PutLe(header + 40, std::uint32_t(dataBytes), 4);

    FILE* file = VantorGL::OpenFile(path, "wb");
    if (!file) {
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot write: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;

    // Samples in blocks, each frame from the stream or silence outside it.
    constexpr std::int64_t kBlockFrames = 16384;
    std::vector<std::uint8_t> block(std::size_t(kBlockFrames) * frameBytes);
    const std::int64_t length = pcm.channels == channels ? pcm.Frames() : 0;
    for (std::int64_t done = 0; ok && done < frames; done += kBlockFrames) {
        const std::int64_t count = std::min(kBlockFrames, frames - done);
        std::uint8_t* out = block.data();
        for (std::int64_t n = 0; n < count; ++n) {
            const std::int64_t source = first + done + n;
            for (int c = 0; c < channels; ++c, out += 2) {
                const std::int16_t sample =
                    source >= 0 && source < length ? pcm.samples[std::size_t(source * channels + c)] : std::int16_t(0);
                PutLe(out, std::uint16_t(sample), 2);
            }
        }
        ok = std::fwrite(block.data(), 1, std::size_t(count) * frameBytes, file) == std::size_t(count) * frameBytes;
    }
    int writeErrno = ok ? 0 : errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        writeErrno = errno;
    }
    if (!ok) VantorGL::ConsolePrint("CAPTURE", "%s: cannot write: %s", path.c_str(), std::strerror(writeErrno));
    return ok;
}
