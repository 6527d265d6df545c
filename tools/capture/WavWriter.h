// WavWriter: a stretch of the engine's decoded soundtrack as a 16-bit PCM WAV file, for
// quenlite-capture's --wav and as ffmpeg's sound input for --video.
#pragma once

#include "assets/Mp3Decoder.h"

#include <cstdint>
#include <string>

// Contract: writes `frames` sample frames of `pcm` starting at frame `first` as a canonical
// 44-byte-header RIFF/WAVE file of 16-bit PCM with pcm's rate and channels (44100 Hz stereo when
// pcm is empty). Frames before 0 or past the end of pcm are silence, so an empty pcm gives a
// silent file of the asked length. Returns false with one "CAPTURE: <path>: ..." line on stderr
// when the file cannot be written or would pass the format's 4 GiB limit.
bool WriteWavSpan(const std::string& path, const VantorGL::cPcmBuffer& pcm, std::int64_t first, std::int64_t frames);
