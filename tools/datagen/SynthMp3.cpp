// SynthMp3: LAME in memory. LAME reserves an empty first frame for its tag; after the flush the
// final tag (encoder delay, padding, length) is written over it.
#include "SynthMp3.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>

namespace Synth {

bool EncodeMp3(const std::vector<std::int16_t>& pcm, int rate, std::vector<unsigned char>& mp3, std::string& error) {
    mp3.clear();
    lame_global_flags* lame = lame_init();
    if (!lame) {
        error = "cannot start the MP3 encoder";
        return false;
    }
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, 192);
    lame_set_VBR(lame, vbr_off);
    lame_set_quality(lame, 3);  // near the best psychoacoustics at a fraction of quality 0's cost
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        error = "the MP3 encoder refuses 44100 Hz stereo at 192 kbps";
        return false;
    }
    const std::size_t frames = pcm.size() / 2;
    constexpr std::size_t kChunk = 8192;
    std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
    bool ok = true;
    for (std::size_t at = 0; at < frames && ok; at += kChunk) {
        int count = int(std::min(kChunk, frames - at));
        // LAME's interleaved entry point takes a non-const pointer but does not write through it.
        int bytes = lame_encode_buffer_interleaved(lame, const_cast<short*>(pcm.data() + at * 2), count,
                                                   buffer.data(), int(buffer.size()));
        if (bytes < 0) ok = false;
        else mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    }
    if (ok) {
        int bytes = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
        if (bytes < 0) ok = false;
        else mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
    }
    if (ok) {
        unsigned char tag[2880];
        std::size_t size = lame_get_lametag_frame(lame, tag, sizeof tag);
        if (size == 0 || size > sizeof tag || size > mp3.size()) ok = false;
        else std::memcpy(mp3.data(), tag, size);
    }
    lame_close(lame);
    if (!ok) {
        mp3.clear();
        error = "the MP3 encoder failed";
    }
    return ok;
}

}  // namespace Synth
