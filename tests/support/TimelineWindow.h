// Scene tests give a scene the window the sequencer gives its timeline member, read from the
// timeline table, so a retimed scene is tested where it now plays.
#pragma once

#include "timeline/SceneSystem.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

namespace VantorGLTest {

// Sets `scene`'s window to `member`'s row ("route21First"). A member the table lacks fails the
// test (a renamed member would otherwise leave the scene on whatever window it had).
inline void SetWindowOf(VantorGL::cSceneSystem& scene, const char* member) {
    const VantorGL::sTimelineRow* row = VantorGL::FindTimelineRow(member);
    if (row)
        scene.SetTimeWindow(row->start, row->end);
    else
        ADD_FAILURE() << "no timeline member \"" << member << "\"";
}

}  // namespace VantorGLTest
