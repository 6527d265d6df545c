// Limiter: offline, over the whole buffer. Per frame the gain a true peak needs; a sliding
// minimum over the look-ahead and an exponential recovery; then a moving average as long as the
// look-ahead, which turns each drop into a ramp that is complete when its peak arrives (every
// value averaged into a peak's frame already holds that peak's gain or less).
#include "Limiter.h"

#include "Loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace Synth {

namespace {

void LimitLinear(std::vector<float>& left, std::vector<float>& right, const LimiterShape& shape, int rate) {
    const std::size_t frames = std::min(left.size(), right.size());
    const std::size_t ahead = std::max<std::size_t>(1, shape.lookahead);
    if (!frames) return;
    std::vector<float> envelope, other;
    TruePeakEnvelope(left.data(), frames, envelope);
    TruePeakEnvelope(right.data(), frames, other);
    const double ceiling = FromDb(shape.ceilingDbtp);

    // The gain frame i may have: its own stretch [i, i + 1) and the one before both run through it.
    std::vector<double> need(frames);
    double before = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double peak = std::max(envelope[i], other[i]);
        const double both = std::max(peak, before);
        need[i] = both > ceiling ? ceiling / both : 1.0;
        before = peak;
    }

    // held[i] = min(need[i .. i + ahead - 1]), then the recovery, both in one forward pass over a
    // monotonic queue of the window's candidates.
    const double recover = std::exp(-1.0 / (shape.releaseS * rate));
    std::deque<std::size_t> window;
    std::vector<double> gain(frames);
    double released = 1.0;
    std::size_t next = 0;  // first index not yet in the window
    for (std::size_t i = 0; i < frames; ++i) {
        for (; next < std::min(frames, i + ahead); ++next) {
            while (!window.empty() && need[window.back()] >= need[next]) window.pop_back();
            window.push_back(next);
        }
        while (window.front() < i) window.pop_front();
        released = std::min(need[window.front()], 1.0 - (1.0 - released) * recover);
        gain[i] = released;
    }

    // Moving average over the last `ahead` frames (frames before the start count as gain 1).
    double sum = double(ahead);
    std::vector<double> recent(ahead, 1.0);
    for (std::size_t i = 0; i < frames; ++i) {
        double& slot = recent[i % ahead];
        sum += gain[i] - slot;
        slot = gain[i];
        const float g = float(std::min(1.0, sum / double(ahead)));
        left[i] *= g;
        right[i] *= g;
    }
}

}  // namespace

std::size_t LimiterReach(const LimiterShape& shape) { return std::max<std::size_t>(1, shape.lookahead) + kTruePeakReach; }

void LimitTruePeaks(std::vector<float>& left, std::vector<float>& right, const LimiterShape& shape, int rate,
                    bool periodic) {
    const std::size_t frames = std::min(left.size(), right.size());
    if (!periodic || !frames) {
        LimitLinear(left, right, shape, rate);
        return;
    }
    // One period with the loop's end before it and its start after it: far enough either side
    // for the look-ahead and for any recovery to have died out (ten time constants) at the seam.
    const std::size_t margin = LimiterReach(shape) + std::size_t(std::ceil(10.0 * shape.releaseS * rate));
    std::vector<float> l(frames + 2 * margin), r(frames + 2 * margin);
    for (std::size_t k = 0; k < l.size(); ++k) {
        const std::size_t j = (k + frames - margin % frames) % frames;
        l[k] = left[j];
        r[k] = right[j];
    }
    LimitLinear(l, r, shape, rate);
    std::copy(l.begin() + margin, l.begin() + margin + frames, left.begin());
    std::copy(r.begin() + margin, r.begin() + margin + frames, right.begin());
}

}  // namespace Synth
