// Mp3TestFile: writes small MP3 files of known content with LAME, so the music tests decode and
// analyse something whose every sample they know.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VantorGLTest {

// One tone per span: `seconds` of a sine at `hertz` with peak `amplitude` (1.0 = full scale).
struct ToneSpan {
    double seconds;
    double hertz;
    double amplitude;
};

// Interleaved PCM of the spans in order, the same sine on every channel.
std::vector<std::int16_t> MakeTones(const std::vector<ToneSpan>& spans, int rate, int channels);

// Encodes interleaved PCM at 192 kbit/s CBR with a LAME tag (so decoders trim the encoder delay
// and padding) and writes it to `path`. False when LAME refuses the format or the write fails.
bool WriteMp3(const std::string& path, const std::vector<std::int16_t>& pcm, int rate, int channels);

}  // namespace VantorGLTest
