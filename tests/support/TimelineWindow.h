// Scene tests give a scene the window the sequencer gives its timeline member, read from the
// timeline table, so a retimed scene is tested where it now plays.
#pragma once

#include "timeline/SceneSystem.h"
#include "timeline/Timeline.h"

namespace VantorGLTest {

// Sets `scene`'s window to `member`'s row ("route21First"); a member the table lacks is a test bug.
inline void SetWindowOf(VantorGL::cSceneSystem& scene, const char* member) {
    const VantorGL::sTimelineRow* row = VantorGL::FindTimelineRow(member);
    if (row) scene.SetTimeWindow(row->start, row->end);
}

}  // namespace VantorGLTest
