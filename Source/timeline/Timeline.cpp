// The time line's rows sorted by start, worked out once from the table.
#include "timeline/Timeline.h"

#include "timeline/DemoScene.h"
#include "timeline/TimeCode.h"

#include <algorithm>
#include <array>

namespace VantorGL {

const sTimelineWindow* TimelineByStart() {
    static const auto windows = [] {
        std::array<sTimelineWindow, kTimelineRows> sorted{};
        for (std::size_t i = 0; i < kTimelineRows; ++i)
            sorted[i] = {&kTimeline[i], ParseTimeCode(kTimeline[i].start),
                         std::min(ParseTimeCode(kTimeline[i].end), kDemoEndMs)};
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const sTimelineWindow& a, const sTimelineWindow& b) { return a.startMs < b.startMs; });
        return sorted;
    }();
    return windows.data();
}

}  // namespace VantorGL
