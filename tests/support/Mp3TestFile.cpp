// Mp3TestFile: tone synthesis and LAME encoding for the music tests.
#include "support/Mp3TestFile.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>

namespace VantorGLTest {

std::vector<std::int16_t> MakeTones(const std::vector<ToneSpan>& spans, int rate, int channels) {
    std::vector<std::int16_t> pcm;
    for (const ToneSpan& span : spans) {
        const long frames = std::lround(span.seconds * rate);
        for (long n = 0; n < frames; ++n) {
            const double value = span.amplitude * 32767.0 * std::sin(2.0 * M_PI * span.hertz * double(n) / rate);
            for (int c = 0; c < channels; ++c) pcm.push_back(std::int16_t(std::lround(value)));
        }
    }
    return pcm;
}

bool WriteMp3(const std::string& path, const std::vector<std::int16_t>& pcm, int rate, int channels) {
    lame_t lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : STEREO);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    const int frames = int(pcm.size() / std::size_t(channels));
    std::vector<unsigned char> mp3(std::size_t(frames) * 5 / 4 + 7200 * 4);
    std::vector<std::int16_t> input(pcm);  // lame_encode_buffer takes non-const channel buffers
    int bytes = channels == 1
                    ? lame_encode_buffer(lame, input.data(), input.data(), frames, mp3.data(), int(mp3.size()))
                    : lame_encode_buffer_interleaved(lame, input.data(), frames, mp3.data(), int(mp3.size()));
    if (bytes < 0) {
        lame_close(lame);
        return false;
    }
    const int tail = lame_encode_flush(lame, mp3.data() + bytes, int(mp3.size()) - bytes);
    if (tail < 0) {
        lame_close(lame);
        return false;
    }
    bytes += tail;
    // The first frame LAME wrote is a placeholder for the tag that records delay and padding.
    unsigned char tag[4096];
    const std::size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (tagBytes > 0 && tagBytes <= sizeof tag && tagBytes <= std::size_t(bytes))
        std::copy(tag, tag + tagBytes, mp3.begin());

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(mp3.data(), 1, std::size_t(bytes), file) == std::size_t(bytes);
    return std::fclose(file) == 0 && ok;
}

}  // namespace VantorGLTest
