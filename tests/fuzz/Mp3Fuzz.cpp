// Fuzz target for the MP3 decoder: any byte string is decoded twice through DecodeMp3Bytes, the
// path every MP3 file takes: in its own format (as quenlite-assets reads it) and converted to
// the device's 44100 Hz stereo (as the music player reads it).
#include "assets/Mp3Decoder.h"

#include <cstdlib>

namespace {

void Check(bool ok, const VantorGL::cPcmBuffer& pcm, const std::string& error) {
    if (!ok) {
        if (error.empty() || !pcm.samples.empty() || pcm.rate != 0 || pcm.channels != 0) std::abort();
        return;
    }
    if (pcm.samples.empty() || pcm.rate <= 0 || pcm.channels < 1 || pcm.channels > 2) std::abort();
    if (pcm.samples.size() % std::size_t(pcm.channels) != 0) std::abort();  // whole frames only
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VantorGL::cPcmBuffer pcm;
    std::string error;
    Check(VantorGL::DecodeMp3Bytes(data, size, pcm, error), pcm, error);
    error.clear();
    Check(VantorGL::DecodeMp3Bytes(data, size, pcm, error, 44100, 2), pcm, error);
    return 0;
}
