// Lookups into the time line table: a member's row and window, and the rows sorted by start.
#include "timeline/Timeline.h"

#include "timeline/TimeCode.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace VantorGL {

const sTimelineRow* FindTimelineRow(const char* member) {
    for (const sTimelineRow& row : kTimeline)
        if (std::strcmp(row.member, member) == 0) return &row;
    return nullptr;
}

int TimelineStartMs(const char* member) {
    const sTimelineRow* row = FindTimelineRow(member);
    return row ? ParseTimeCode(row->start) : 0;
}

int TimelineEndMs(const char* member) {
    const sTimelineRow* row = FindTimelineRow(member);
    return row ? ParseTimeCode(row->end) : 0;
}

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
