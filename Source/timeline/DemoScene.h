// cDemoScene: the master timeline. A scene whose window spans the whole demo; it owns every
// asset and scene, drives them each frame in a fixed order and writes the per-frame log line.
#pragma once

#include "timeline/SceneSystem.h"

namespace VantorGL {

// "2:47.0": the sequencer's own window ends here and with it the demo.
constexpr const char* kDemoStartCode = "0:00.0";
constexpr const char* kDemoEndCode = "2:47.0";
constexpr int kDemoEndMs = 167000;

class cDemoScene : public cSceneSystem {
public:
    int Init() override;
    void Update() override;
    void Render() override;
};

}  // namespace VantorGL
