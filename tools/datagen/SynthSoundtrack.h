// SynthSoundtrack: the demo's two pieces of music, rendered from code: the 2:47 soundtrack that
// follows the scene timeline, and the short loading tune that loops while assets load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Synth {

constexpr int kSoundtrackMs = 167000;                                  // "2:47.0", the demo's end
constexpr std::size_t kSoundtrackFrames = std::size_t(kSoundtrackMs) * 441 / 10;  // at 44100 Hz
constexpr int kTempoBpm = 120;                                         // a beat is 500 ms
constexpr std::size_t kLoadingFrames = std::size_t(12) * 44100;        // six bars of 4/4 at 120 BPM

// Both pieces come out mastered: at about kReleaseLoudnessLufs, with true peaks that stay under
// kReleaseTruePeakDbtp after MP3 encoding (Loudness.h).

// Renders the soundtrack as interleaved 16-bit stereo at 44100 Hz, kSoundtrackFrames frames.
// `untilMs` shortens the render for quick checks: the result is then exactly the first frames of
// the full render. Deterministic: the same bytes on every run.
std::vector<std::int16_t> RenderSoundtrack(int untilMs = kSoundtrackMs);

// Renders the loading tune, interleaved 16-bit stereo, kLoadingFrames frames. The tune is
// periodic: played in a loop, the last frame runs into the first without a seam (note tails and
// the room's reverberation are wrapped around, and the master limiter works across the seam).
std::vector<std::int16_t> RenderLoadingTune();

}  // namespace Synth
