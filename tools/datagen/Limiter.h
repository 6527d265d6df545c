// Limiter: the master stage's look-ahead peak limiter. It finds true peaks (4x oversampled, as
// the loudness meter does) and lowers one gain for both channels just enough, ramping into each
// peak ahead of time and recovering smoothly after it, so what passes below the ceiling is untouched.
#pragma once

#include <cstddef>
#include <vector>

namespace Synth {

struct LimiterShape {
    double ceilingDbtp;         // no true peak of the result exceeds this
    std::size_t lookahead;      // frames: the gain ramps down over this many frames before a peak
    double releaseS;            // time constant of the recovery after a peak
};

// Limits the stereo pair in place. The result at frame i depends on the input up to about
// i + lookahead + 16 frames only, so a buffer that is a prefix of a longer one limits to a prefix
// of the longer one's result as long as that much more was rendered. `periodic`: the pair is one
// period of a loop; the gain is worked out around the seam, so the loop stays seamless.
// Deterministic.
void LimitTruePeaks(std::vector<float>& left, std::vector<float>& right, const LimiterShape& shape, int rate,
                    bool periodic);

// Frames of input beyond a frame that the limiter's result at that frame reads.
std::size_t LimiterReach(const LimiterShape& shape);

}  // namespace Synth
