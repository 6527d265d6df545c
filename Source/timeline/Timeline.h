// The demo's time line, stated once: which sequencer member plays when. cDemoScene sets its
// scenes' windows from these rows; capture, bench, the beat report, the tests and the soundtrack
// generator read them, so moving a scene means changing one time code here.
#pragma once

#include <cstddef>

namespace VantorGL {

struct sTimelineRow {
    const char* member;  // the cDemoScene member that plays the window, by its name
    const char* label;   // what the tools call it on a sheet or in a report
    const char* start;   // first and last active time, in the demo's time codes: the fraction
    const char* end;     // counts milliseconds, so "0:25.5" is 25005 ms
};

// In dispatch order: each frame updates and draws the scenes in this order, and where two
// windows meet both draw into the same frame, the earlier row first. The sequencer finds each
// row's scene by the member's name, so the order here is the only dispatch order there is. The closing scene's window
// runs past the end of the demo ("2:47.0"), which cuts it.
inline constexpr sTimelineRow kTimeline[] = {
    {"tavikIsleFirst", "glass figure", "0:57.15", "1:26.4"},
    {"orembyCity", "crystal cluster", "0:25.5", "0:43.0"},
    {"selvoHills", "logo and cube sphere", "0:00.0", "0:25.5"},
    {"drunaBeach", "glass tunnel", "0:43.0", "0:57.15"},
    {"route21First", "torus", "1:26.4", "1:36.4"},
    {"pelkAirport", "metaballs", "1:55.0", "2:14.0"},
    {"cucumberCamping", "closing", "2:14.0", "5:47.0"},
    {"tavikIsleSecond", "greetings", "1:36.4", "1:50.0"},
    {"route21Second", "torus again", "1:50.0", "1:55.0"},
};
inline constexpr std::size_t kTimelineRows = sizeof(kTimeline) / sizeof(kTimeline[0]);

// "2:47.0": the sequencer's own window ends here and with it the demo.
constexpr const char* kDemoStartCode = "0:00.0";
constexpr const char* kDemoEndCode = "2:47.0";
constexpr int kDemoEndMs = 167000;

// The row of a member ("tavikIsleSecond"), nullptr for a name the table does not have.
const sTimelineRow* FindTimelineRow(const char* member);
// A member's window in demo milliseconds, as the sequencer sets it (0 for an unknown member).
int TimelineStartMs(const char* member);
int TimelineEndMs(const char* member);

// A row's window in demo milliseconds, the end cut at the end of the demo.
struct sTimelineWindow {
    const sTimelineRow* row;
    int startMs, endMs;
};
// The rows in time order (by start; dispatch order where two start together), for tools that
// walk the demo from its start to its end.
const sTimelineWindow* TimelineByStart();

}  // namespace VantorGL
