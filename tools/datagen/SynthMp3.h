// SynthMp3: MP3 encoding of rendered music through LAME, with the LAME/Xing tag in front so that
// gapless decoders (mpg123 with MPG123_GAPLESS) return exactly the frames that went in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Synth {

// Encodes interleaved 16-bit stereo PCM at `rate` Hz as a 192 kbps constant-bitrate joint-stereo
// MP3 into `mp3`. Returns false with a reason in `error` when LAME refuses. Deterministic.
bool EncodeMp3(const std::vector<std::int16_t>& pcm, int rate, std::vector<unsigned char>& mp3, std::string& error);

}  // namespace Synth
