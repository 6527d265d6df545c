// Mp3Decoder: turns a whole MP3 file into interleaved 16-bit PCM in memory, over libmpg123.
// The music player decodes its file up front with it; the asset tools use the same function to
// report on a soundtrack and to replay its spectrum offline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VantorGL {

// Interleaved signed 16-bit PCM: frame n, channel c is samples[n * channels + c].
struct cPcmBuffer {
    std::vector<std::int16_t> samples;
    int rate = 0;      // frames per second
    int channels = 0;  // 1 or 2

    std::int64_t Frames() const { return channels > 0 ? std::int64_t(samples.size()) / channels : 0; }
    double DurationSeconds() const { return rate > 0 ? double(Frames()) / double(rate) : 0.0; }
};

// Contract: decodes every frame of the MP3 file at `path` (taken as given; callers resolve data
// paths first). With outputRate / outputChannels 0 the file's own rate and channel count are
// kept; otherwise libmpg123 converts to them (its resampler for another rate, duplication or
// mixing for another channel count). Encoder delay and padding recorded in a LAME/Xing tag are
// removed, so the length is exact for files written by LAME.
// On success `out` holds the PCM, `error` is untouched and true is returned. On failure (cannot
// open, no decodable audio, unsupported format) `out` is emptied, `error` gets a short reason
// without the path ("cannot open file: No such file or directory", "no MP3 audio in file") and
// false is returned. Never throws, never prints.
// `note` (optional) is emptied, or on success says what is wrong with a stream that still plays:
// a file whose LAME tag announces more audio than it holds (cut short) gets "stream ends early",
// one whose frames do not match the tag's count (a damaged frame header) "damaged stream".
bool DecodeMp3File(const std::string& path, cPcmBuffer& out, std::string& error, int outputRate = 0,
                   int outputChannels = 0, std::string* note = nullptr);

// The same on `size` bytes of MP3 data at `data` (DecodeMp3File reads the file whole and hands it
// here). Any byte string is safe: what is not MP3 fails with "no MP3 audio in file" or
// "cannot open as MP3: ...". The bytes are only read during the call.
bool DecodeMp3Bytes(const std::uint8_t* data, std::size_t size, cPcmBuffer& out, std::string& error,
                    int outputRate = 0, int outputChannels = 0, std::string* note = nullptr);

}  // namespace VantorGL
